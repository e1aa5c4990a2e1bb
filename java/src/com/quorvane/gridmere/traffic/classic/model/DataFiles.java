package com.quorvane.gridmere.traffic.classic.model;

import com.quorvane.gridmere.traffic.classic.model.RoadModel.Run;
import java.io.*;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.StandardCharsets;
import java.nio.file.*;
import java.util.*;

/**
 * The model and run files: UTF-8 text, a format line, then key=value lines,
 * blank lines and # comments, each key once. A run file goes on with a
 * "diagram" line and the diagram, one line per recorded step.
 */
public final class DataFiles {

    public static final String MODEL_FORMAT = "format=gridmere-road-model 1";
    public static final String RUN_FORMAT = "format=gridmere-run 1";
    private static final List<String> MODEL_KEYS = List.of("length", "vehicles", "vmax", "slowdown", "seed");
    private static final List<String> RUN_KEYS = List.of("length", "vehicles", "vmax", "slowdown", "seed",
            "warmup", "steps", "density", "flow", "mean-speed");

    /** A file that cannot be read, written or used; the message names it. */
    public static final class BadFile extends Exception {
        private static final long serialVersionUID = 1L;

        public BadFile(Path file, String problem) {
            super(file + ": " + problem);
        }
    }

    public static void writeModel(Path file, RoadModel model) throws BadFile {
        write(file, MODEL_FORMAT + "\n# A Gridmere road model, as the README describes.\n" + keys(model), List.of());
    }

    public static void writeRun(Path file, Run run) throws BadFile {
        write(file, RUN_FORMAT + "\n# A run of a Gridmere road model, as the README describes.\n"
                + keys(run.model()) + "warmup=" + run.warmup() + "\nsteps=" + run.steps()
                + "\ndensity=" + decimal(run.model().density()) + "\nflow=" + decimal(run.flow())
                + "\nmean-speed=" + decimal(run.meanSpeed()) + "\ndiagram\n", run.diagram());
    }

    /** A file of the format, or of either with none. A model has no diagram (null), nor has a listing. */
    public static Run read(Path file, String format, boolean withDiagram) throws BadFile {
        try (BufferedReader in = Files.newBufferedReader(file)) {
            String first = in.readLine();
            boolean isRun = RUN_FORMAT.equals(first);
            if (format == null ? !isRun && !MODEL_FORMAT.equals(first) : !format.equals(first)) {
                throw new BadFile(file, "is not a " + (format == null ? "road model or run"
                        : format.equals(RUN_FORMAT) ? "run" : "road model") + " file (see its first line)");
            }
            return parse(in, isRun, withDiagram);
        } catch (IOException e) {
            throw new BadFile(file, "cannot be read (" + reason(e) + ")");
        } catch (IllegalArgumentException e) {
            throw new BadFile(file, e.getMessage());
        }
    }

    /** Looks no further than the format line, whatever the size or kind of the file. */
    public static boolean startsAsRun(Path file) {
        byte[] start = (RUN_FORMAT + "\n").getBytes(StandardCharsets.UTF_8);
        try (InputStream in = Files.newInputStream(file)) {
            return Arrays.equals(in.readNBytes(start.length), start);
        } catch (IOException e) {
            return false;
        }
    }

    /** Six decimals and a point, whatever the locale. */
    public static String decimal(double x) {
        return String.format(Locale.ROOT, "%.6f", x);
    }

    public static int whole(String name, String text, int min, int max) {
        try {
            int n = Integer.parseInt(text);
            if (n >= min && n <= max) return n;
        } catch (NumberFormatException e) {
            // said below
        }
        throw new IllegalArgumentException(name + " must be a whole number from " + min + " to " + max
                + ", not \"" + text + "\"");
    }

    public static double number(String name, String text, double min, double max) {
        try {
            double x = Double.parseDouble(text);
            if (x >= min && x <= max) return x;
        } catch (NumberFormatException e) {
            // said below
        }
        throw new IllegalArgumentException(name + " must be a number from " + min + " to " + max
                + ", not \"" + text + "\"");
    }

    /** Why reading or writing failed, for a message that already names the file. */
    public static String reason(IOException e) {
        if (e instanceof NoSuchFileException) return "no such file or directory";
        if (e instanceof AccessDeniedException) return "permission denied";
        if (e instanceof CharacterCodingException) return "not UTF-8 text";
        return e instanceof FileSystemException f && f.getReason() != null ? f.getReason() : e.getMessage();
    }

    private static String keys(RoadModel m) {
        // Double.toString reads back as the very same double: the run repeats exactly.
        return "length=" + m.length() + "\nvehicles=" + m.vehicles() + "\nvmax=" + m.vmax()
                + "\nslowdown=" + m.slowdown() + "\nseed=" + m.seed() + "\n";
    }

    private static void write(Path file, String head, List<String> lines) throws BadFile {
        try (Writer out = Files.newBufferedWriter(file)) {
            out.write(head);
            for (String line : lines) out.write(line + "\n");
        } catch (IOException e) {
            throw new BadFile(file, "cannot be written (" + reason(e) + ")");
        }
    }

    private static Run parse(BufferedReader in, boolean isRun, boolean withDiagram) throws IOException {
        List<String> keys = isRun ? RUN_KEYS : MODEL_KEYS;
        Map<String, String> values = new HashMap<>();
        for (String line; (line = in.readLine()) != null && !(isRun && line.equals("diagram")); ) {
            String text = line.strip();
            if (text.isEmpty() || text.startsWith("#")) continue;
            int equals = text.indexOf('=');
            String key = text.substring(0, Math.max(equals, 0)).strip();
            if (!keys.contains(key) || values.put(key, text.substring(equals + 1).strip()) != null) {
                throw new IllegalArgumentException("\"" + text + "\" should be key=value, each key once: " + keys);
            }
        }
        for (String key : keys) {
            if (!values.containsKey(key)) throw new IllegalArgumentException("has no " + key + " line");
        }
        int length = whole("length", values.get("length"), 1, RoadModel.MAX_LENGTH);
        int vehicles = whole("vehicles", values.get("vehicles"), 0, length);
        int vmax = whole("vmax", values.get("vmax"), 0, RoadModel.MAX_VMAX);
        RoadModel model = new RoadModel(length, vehicles, vmax, number("slowdown", values.get("slowdown"), 0, 1),
                whole("seed", values.get("seed"), Integer.MIN_VALUE, Integer.MAX_VALUE));
        if (!isRun) return new Run(model, 0, 0, 0, 0, null);

        int warmup = whole("warmup", values.get("warmup"), 0, RoadModel.MAX_STEPS);
        int steps = whole("steps", values.get("steps"), 1, RoadModel.MAX_STEPS);
        model.checkRunSize(warmup, steps);
        if (Math.abs(number("density", values.get("density"), 0, 1) - model.density()) > 5e-7) {
            throw new IllegalArgumentException("density should be vehicles / length, " + decimal(model.density()));
        }
        double flow = number("flow", values.get("flow"), 0, 1);
        double meanSpeed = number("mean-speed", values.get("mean-speed"), 0, vmax);
        List<String> diagram = new ArrayList<>();
        while (withDiagram && diagram.size() < steps) {
            String line = in.readLine();
            if (line == null) throw new IllegalArgumentException("ends after " + diagram.size() + " diagram lines");
            if (line.length() != length || line.chars().filter(c -> c != '.').count() != vehicles
                    || !line.chars().allMatch(c -> c == '.' || (c >= '0' && c <= '0' + vmax))) {
                throw new IllegalArgumentException("diagram line " + (diagram.size() + 1) + " should be " + length
                        + " cells with " + vehicles + " vehicles at speeds from 0 to " + vmax);
            }
            diagram.add(line);
        }
        return new Run(model, warmup, steps, flow, meanSpeed, diagram);
    }
}
