package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.DataFiles;
import com.quorvane.gridmere.traffic.classic.model.DataFiles.BadFile;
import java.nio.file.Path;
import java.util.*;
import java.util.regex.*;

/**
 * A command's file names and "--name value" options, and how every command
 * ends. A wrong command line is an IllegalArgumentException and exit status
 * 2, a file that cannot be used a BadFile and 1: one line on standard error
 * either way, never a stack trace.
 */
public final class Cli {

    /** The work of a command. */
    public interface Body {
        void run(Cli args) throws BadFile, InterruptedException;
    }

    // The usage line is the one list of a command's files and options.
    private static final Pattern USAGE_WORDS = Pattern.compile("--[a-z]+|<[a-z-]+>|\\[[a-z-]+]");

    private final List<String> files = new ArrayList<>();
    private final Map<String, String> options = new HashMap<>();

    private Cli(String usage, String[] args) {
        List<String> fileNames = new ArrayList<>();
        List<String> optionNames = new ArrayList<>();
        for (Matcher m = USAGE_WORDS.matcher(usage); m.find(); ) {
            (m.group().startsWith("--") ? optionNames : fileNames).add(m.group());
        }
        for (int i = 0; i < args.length; i++) {
            if (!args[i].startsWith("-")) {
                files.add(args[i]);
            } else if (!optionNames.contains(args[i])) {
                throw new IllegalArgumentException("unknown option \"" + args[i] + "\"");
            } else if (i + 1 == args.length) {
                throw new IllegalArgumentException(args[i] + " needs a value");
            } else if (options.put(args[i], args[++i]) != null) {
                throw new IllegalArgumentException(args[i - 1] + " is given twice");
            }
        }
        long required = fileNames.stream().filter(name -> name.startsWith("<")).count();
        if (files.size() < required) throw new IllegalArgumentException("missing " + fileNames.get(files.size()));
        if (files.size() > fileNames.size()) {
            throw new IllegalArgumentException("unexpected argument \"" + files.get(fileNames.size()) + "\"");
        }
    }

    /**
     * A command line read on its own, for a program that must not end over
     * it; a wrong one is an IllegalArgumentException with the usage.
     */
    public static Cli parse(String usage, String[] args) {
        try {
            return new Cli(usage, args);
        } catch (IllegalArgumentException e) {
            throw new IllegalArgumentException(e.getMessage() + " (usage: zep " + usage + ")", e);
        }
    }

    /** Runs a command; returns when it succeeds, so that a window it opened stays open. */
    public static void run(String usage, String[] args, Body body) {
        String prefix = "zep " + usage.split(" ")[0] + ": ";
        int status = 1;
        try {
            body.run(new Cli(usage, args));
            if (!System.out.checkError()) return;
            System.err.println(prefix + "cannot write to standard output");
        } catch (IllegalArgumentException e) {
            // Path.of's too, for a name that the locale's character set cannot hold.
            System.err.println(prefix + e.getMessage() + " (usage: zep " + usage + ")");
            status = 2;
        } catch (BadFile e) {
            System.err.println(prefix + e.getMessage());
        } catch (InterruptedException e) {
            System.err.println(prefix + "interrupted");
        }
        System.exit(status);
    }

    /** File name i, or {@code fallback} (which may be null) when there is none. */
    public Path file(int i, String fallback) {
        String name = i < files.size() ? files.get(i) : fallback;
        if (name != null && name.isEmpty()) throw new IllegalArgumentException("a file name cannot be empty");
        return name == null ? null : Path.of(name);
    }

    public boolean has(String option) {
        return options.containsKey(option);
    }

    public int whole(String option, int fallback, int min, int max) {
        return has(option) ? DataFiles.whole(option, options.get(option), min, max) : fallback;
    }

    public double number(String option, double fallback, double min, double max) {
        return has(option) ? DataFiles.number(option, options.get(option), min, max) : fallback;
    }
}
