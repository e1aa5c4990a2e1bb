package com.quorvane.gridmere.traffic.classic.model;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;

/**
 * The run file: the model, the run's length and summary as key=value lines,
 * then a "diagram" line and one line per recorded step.
 */
public final class RunFile {

    public static final String FORMAT_LINE = "format=gridmere-run 1";
    static final String DIAGRAM_LINE = "diagram";

    private static final List<String> KEYS;

    static {
        List<String> keys = new ArrayList<>(ModelFile.KEYS);
        keys.addAll(List.of("warmup", "steps", "density", "flow", "mean-speed"));
        KEYS = List.copyOf(keys);
    }

    /** What a run file says before its diagram: enough to list it. */
    public record Head(RoadModel model, RunSummary summary) {
    }

    private RunFile() {
    }

    public static void write(Path file, Run run) throws IOException {
        RunSummary summary = run.summary();
        TextFiles.write(file, out -> {
            ModelFile.line(out, FORMAT_LINE);
            ModelFile.line(out, "# A run of a Gridmere road model. The model's keys are those of its model");
            ModelFile.line(out, "# file; then:");
            ModelFile.line(out, "#");
            ModelFile.line(out, "# warmup      steps simulated before the first line of the diagram");
            ModelFile.line(out, "# steps       lines of the diagram, one per simulated step");
            ModelFile.line(out, "# density     vehicles per cell");
            ModelFile.line(out, "# flow        vehicles per step passing the point between the last cell");
            ModelFile.line(out, "#             and cell 0, over the steps of the diagram");
            ModelFile.line(out, "# mean-speed  cells per step, over all vehicles and steps of the diagram");
            ModelFile.line(out, "#");
            ModelFile.line(out, "# After the \"diagram\" line, one line per step shows the road after it:");
            ModelFile.line(out, "# \".\" is an empty cell, a digit the speed of the vehicle in that cell.");
            ModelFile.writeKeys(out, run.model());
            ModelFile.line(out, "warmup=" + summary.warmup());
            ModelFile.line(out, "steps=" + summary.steps());
            ModelFile.line(out, "density=" + decimal(summary.density()));
            ModelFile.line(out, "flow=" + decimal(summary.flow()));
            ModelFile.line(out, "mean-speed=" + decimal(summary.meanSpeed()));
            ModelFile.line(out, DIAGRAM_LINE);
            for (int i = 0; i < run.steps(); i++) ModelFile.line(out, run.rowText(i));
        });
    }

    /** Six decimals and a point in every locale. */
    public static String decimal(double x) {
        return String.format(Locale.ROOT, "%.6f", x);
    }

    public static Run read(Path file) throws DataFileException {
        try (TextFileReader reader = TextFileReader.open(file)) {
            checkFormat(reader);
            return parse(reader);
        }
    }

    /** Reads no further than the diagram line. */
    public static Head readHead(Path file) throws DataFileException {
        try (TextFileReader reader = TextFileReader.open(file)) {
            checkFormat(reader);
            return parseHead(reader);
        }
    }

    /** Whether a file starts as a run file does; never throws, never reads more than a line. */
    public static boolean looksLikeRunFile(Path file) {
        try (TextFileReader reader = TextFileReader.open(file)) {
            return FORMAT_LINE.equals(ModelFile.firstLine(reader));
        } catch (DataFileException e) {
            return false;
        }
    }

    private static void checkFormat(TextFileReader reader) throws DataFileException {
        if (!FORMAT_LINE.equals(ModelFile.firstLine(reader))) {
            throw new DataFileException(reader.file(), "is not a run file (its first line should be \""
                    + FORMAT_LINE + "\")");
        }
    }

    private static Head parseHead(TextFileReader reader) throws DataFileException {
        Header header = Header.read(reader, KEYS, DIAGRAM_LINE);
        RoadModel model = ModelFile.model(header);
        int warmup = header.integer("warmup", 0, Run.MAX_WARMUP);
        int steps = header.integer("steps", 1, Run.MAX_STEPS);
        String problem = Run.sizeProblem(model, warmup, steps);
        if (problem != null) throw header.error(problem);
        double density = header.decimal("density", 0, 1);
        double flow = header.decimal("flow", 0, 1);
        double meanSpeed = header.decimal("mean-speed", 0, model.vmax());
        return new Head(model, new RunSummary(warmup, steps, density, flow, meanSpeed));
    }

    /** The rest of a run file whose format line has been read. */
    public static Run parse(TextFileReader reader) throws DataFileException {
        Head head = parseHead(reader);
        RoadModel model = head.model();
        int steps = head.summary().steps();
        List<byte[]> diagram = new ArrayList<>(steps);
        for (int i = 0; i < steps; i++) {
            String line = reader.readLine();
            if (line == null) {
                throw new DataFileException(reader.file(), "ends after " + i + " of " + steps + " diagram lines");
            }
            diagram.add(row(reader, line, model));
        }
        for (String line = reader.readLine(); line != null; line = reader.readLine()) {
            if (!line.isBlank()) throw reader.error("is past the " + steps + " lines of the diagram");
        }
        return new Run(model, head.summary(), diagram);
    }

    private static byte[] row(TextFileReader reader, String line, RoadModel model) throws DataFileException {
        if (line.length() != model.length()) {
            throw reader.error("has " + line.length() + " cells, not " + model.length());
        }
        int vehicles = 0;
        for (int cell = 0; cell < line.length(); cell++) {
            char c = line.charAt(cell);
            if (c == '.') continue;
            if (c < '0' || c > '0' + model.vmax()) {
                throw reader.error("has \"" + c + "\" in cell " + cell + ", not \".\" or a speed from 0 to "
                        + model.vmax());
            }
            vehicles++;
        }
        if (vehicles != model.vehicles()) {
            throw reader.error("has " + vehicles + " vehicles, not " + model.vehicles());
        }
        return line.getBytes(StandardCharsets.US_ASCII);
    }
}
