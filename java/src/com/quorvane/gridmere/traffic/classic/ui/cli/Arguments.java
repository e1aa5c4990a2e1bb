package com.quorvane.gridmere.traffic.classic.ui.cli;

import java.math.BigDecimal;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;

/**
 * A command's arguments: positional ones, and options written as
 * "--name value" or "--name=value". "--" ends the options, for file names
 * that start with a dash.
 */
public final class Arguments {

    private final List<String> positional = new ArrayList<>();
    private final Map<String, String> options = new HashMap<>();

    public Arguments(String[] args, Set<String> optionNames) throws UsageException {
        boolean optionsEnded = false;
        for (int i = 0; i < args.length; i++) {
            String arg = args[i];
            if (optionsEnded || !arg.startsWith("-") || arg.equals("-")) {
                positional.add(arg);
            } else if (arg.equals("--")) {
                optionsEnded = true;
            } else {
                int equals = arg.indexOf('=');
                String name = equals < 0 ? arg : arg.substring(0, equals);
                if (!optionNames.contains(name)) throw new UsageException("unknown option " + quote(name));
                String value;
                if (equals >= 0) {
                    value = arg.substring(equals + 1);
                } else if (i + 1 < args.length) {
                    value = args[++i];
                } else {
                    throw new UsageException(name + " needs a value");
                }
                if (options.put(name, value) != null) throw new UsageException(name + " is given twice");
            }
        }
    }

    /** Checks the number of positional arguments; {@code names} are the expected ones, in order. */
    public void expectPositional(int required, String... names) throws UsageException {
        if (positional.size() < required) throw new UsageException("missing " + names[positional.size()]);
        if (positional.size() > names.length) {
            throw new UsageException("unexpected argument " + quote(positional.get(names.length)));
        }
    }

    public boolean hasPositional(int index) {
        return index < positional.size();
    }

    public Path path(int index) throws UsageException {
        String text = positional.get(index);
        if (text.isEmpty()) throw new UsageException("a file name cannot be empty");
        try {
            return Path.of(text);
        } catch (InvalidPathException e) {
            // Also what a name outside the character set of the locale gives.
            throw new UsageException("cannot use " + quote(text) + " as a file name here: " + e.getReason());
        }
    }

    public boolean has(String option) {
        return options.containsKey(option);
    }

    public int integer(String option, int fallback, int min, int max) throws UsageException {
        String value = options.get(option);
        if (value == null) return fallback;
        try {
            int n = Integer.parseInt(value);
            if (n >= min && n <= max) return n;
        } catch (NumberFormatException e) {
            // reported below
        }
        throw new UsageException(option + " must be a whole number from " + min + " to " + max + ", not " + quote(value));
    }

    public long longInteger(String option, long fallback) throws UsageException {
        String value = options.get(option);
        if (value == null) return fallback;
        try {
            return Long.parseLong(value);
        } catch (NumberFormatException e) {
            throw new UsageException(option + " must be a whole number, not " + quote(value));
        }
    }

    public double decimal(String option, double fallback, double min, double max) throws UsageException {
        String value = options.get(option);
        if (value == null) return fallback;
        double x;
        try {
            x = new BigDecimal(value).doubleValue();
        } catch (NumberFormatException | ArithmeticException e) {
            x = Double.NaN;
        }
        if (!(x >= min && x <= max)) {
            throw new UsageException(option + " must be a number from " + plain(min) + " to " + plain(max)
                    + ", not " + quote(value));
        }
        return x;
    }

    static String quote(String text) {
        return "\"" + text + "\"";
    }

    /** 1 rather than 1.0: the bounds are whole numbers or short decimals. */
    static String plain(double x) {
        return BigDecimal.valueOf(x).stripTrailingZeros().toPlainString();
    }
}
