package com.quorvane.gridmere.traffic.classic.model;

import java.io.IOException;
import java.io.Writer;
import java.nio.file.Path;
import java.util.List;

/** The road model file: a format line, comments that explain it, and key=value lines. */
public final class ModelFile {

    public static final String FORMAT_LINE = "format=gridmere-road-model 1";

    static final List<String> KEYS = List.of("length", "vehicles", "vmax", "slowdown", "seed");

    private ModelFile() {
    }

    public static void write(Path file, RoadModel model) throws IOException {
        TextFiles.write(file, out -> {
            line(out, FORMAT_LINE);
            line(out, "# A road model of the Gridmere traffic simulation: a single-lane ring road");
            line(out, "# whose vehicles follow the Nagel-Schreckenberg rules. Lines that start");
            line(out, "# with # are comments; the others are key=value.");
            line(out, "#");
            line(out, "# length    cells round the ring; a cell holds at most one vehicle");
            line(out, "# vehicles  vehicles on the ring, standing on random cells at the start");
            line(out, "# vmax      highest speed, in cells per step (0 to " + RoadModel.MAX_VMAX + ")");
            line(out, "# slowdown  probability that a vehicle drives one cell slower in a step");
            line(out, "# seed      seed of the random numbers: one model, always the same run");
            writeKeys(out, model);
        });
    }

    static void writeKeys(Writer out, RoadModel model) throws IOException {
        line(out, "length=" + model.length());
        line(out, "vehicles=" + model.vehicles());
        line(out, "vmax=" + model.vmax());
        // Double.toString reads back as the very same double: the run repeats exactly.
        line(out, "slowdown=" + model.slowdown());
        line(out, "seed=" + model.seed());
    }

    public static RoadModel read(Path file) throws DataFileException {
        try (TextFileReader reader = TextFileReader.open(file)) {
            if (!FORMAT_LINE.equals(firstLine(reader))) {
                throw new DataFileException(file, "is not a road model file (its first line should be \""
                        + FORMAT_LINE + "\")");
            }
            return parse(reader);
        }
    }

    /** The rest of a model file whose format line has been read. */
    public static RoadModel parse(TextFileReader reader) throws DataFileException {
        return model(Header.read(reader, KEYS, null));
    }

    static RoadModel model(Header header) throws DataFileException {
        int length = header.integer("length", 1, RoadModel.MAX_LENGTH);
        int vehicles = header.integer("vehicles", 0, RoadModel.MAX_LENGTH);
        int vmax = header.integer("vmax", 0, RoadModel.MAX_VMAX);
        double slowdown = header.decimal("slowdown", 0, 1);
        long seed = header.longInteger("seed");
        try {
            return new RoadModel(length, vehicles, vmax, slowdown, seed);
        } catch (IllegalArgumentException e) {
            throw header.error(e.getMessage());
        }
    }

    /** The first line, stripped of trailing blanks, or "" for an empty file. */
    public static String firstLine(TextFileReader reader) throws DataFileException {
        String line = reader.readLine();
        return line == null ? "" : line.stripTrailing();
    }

    static void line(Writer out, String text) throws IOException {
        out.write(text);
        // The same bytes on every system, so that runs compare byte for byte.
        out.write('\n');
    }
}
