package com.quorvane.gridmere.traffic.classic.model;

import java.math.BigDecimal;
import java.util.HashMap;
import java.util.List;
import java.util.Map;

/**
 * The key=value lines of a model or run file. Blank lines and lines starting
 * with '#' are comments. Every key must appear exactly once.
 */
final class Header {

    private final TextFileReader reader;
    private final Map<String, String> values = new HashMap<>();
    private final Map<String, Integer> lines = new HashMap<>();

    private Header(TextFileReader reader) {
        this.reader = reader;
    }

    /**
     * Reads up to a line that is exactly {@code end}, or to the end of the
     * file when {@code end} is null.
     */
    static Header read(TextFileReader reader, List<String> keys, String end) throws DataFileException {
        Header header = new Header(reader);
        for (String line = reader.readLine(); ; line = reader.readLine()) {
            if (line == null) {
                if (end != null) throw new DataFileException(reader.file(), "has no \"" + end + "\" line");
                break;
            }
            if (end != null && line.strip().equals(end)) break;
            String text = line.strip();
            if (text.isEmpty() || text.startsWith("#")) continue;
            int equals = text.indexOf('=');
            if (equals < 0) throw reader.error("should be key=value: \"" + text + "\"");
            String key = text.substring(0, equals).strip();
            if (!keys.contains(key)) throw reader.error("has an unknown key \"" + key + "\"");
            if (header.values.containsKey(key)) {
                throw reader.error("repeats \"" + key + "\" from line " + header.lines.get(key));
            }
            header.values.put(key, text.substring(equals + 1).strip());
            header.lines.put(key, reader.lineNumber());
        }
        for (String key : keys) {
            if (!header.values.containsKey(key)) throw new DataFileException(reader.file(), "has no \"" + key + "\" line");
        }
        return header;
    }

    int integer(String key, int min, int max) throws DataFileException {
        String value = values.get(key);
        try {
            int n = Integer.parseInt(value);
            if (n >= min && n <= max) return n;
        } catch (NumberFormatException e) {
            // reported below
        }
        throw error(key, "must be a whole number from " + min + " to " + max);
    }

    long longInteger(String key) throws DataFileException {
        try {
            return Long.parseLong(values.get(key));
        } catch (NumberFormatException e) {
            throw error(key, "must be a whole number");
        }
    }

    double decimal(String key, double min, double max) throws DataFileException {
        double x = parseDecimal(values.get(key));
        if (!(x >= min && x <= max)) throw error(key, "must be a number from " + plain(min) + " to " + plain(max));
        return x;
    }

    /** A plain decimal number, or NaN; no hexadecimal, no type suffixes, no locale. */
    static double parseDecimal(String text) {
        try {
            return new BigDecimal(text).doubleValue();
        } catch (NumberFormatException | ArithmeticException e) {
            return Double.NaN;
        }
    }

    DataFileException error(String key, String problem) {
        return new DataFileException(reader.file(),
                "line " + lines.get(key) + ": " + key + " " + problem + ", not \"" + values.get(key) + "\"");
    }

    /** An error about the file as a whole, for values that are fine alone but not together. */
    DataFileException error(String problem) {
        return new DataFileException(reader.file(), problem);
    }

    /** 1 rather than 1.0: the bounds are whole numbers or short decimals. */
    static String plain(double x) {
        return BigDecimal.valueOf(x).stripTrailingZeros().toPlainString();
    }
}
