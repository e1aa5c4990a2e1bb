package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.DataFileException;

/**
 * Runs a command and turns the user's mistakes into one line on standard
 * error and an exit status, never a stack trace: 2 for a wrong command line,
 * 1 for a file that cannot be read or written.
 */
public final class CommandLine {

    public static final int EXIT_FAILURE = 1;
    public static final int EXIT_USAGE = 2;

    /** A command's work. */
    public interface Body {
        void run(String[] args) throws UsageException, DataFileException, CommandException;
    }

    /** A failure that is not the user's command line, such as a file that cannot be written. */
    public static final class CommandException extends Exception {
        private static final long serialVersionUID = 1L;

        public CommandException(String problem) {
            super(problem);
        }
    }

    private CommandLine() {
    }

    /**
     * Runs {@code body}; returns normally when it succeeds, so that windows it
     * opened stay open. {@code usage} is the command's synopsis, without "zep ".
     */
    public static void run(String word, String usage, String[] args, Body body) {
        if (args.length == 1 && (args[0].equals("--help") || args[0].equals("-h"))) {
            System.out.println("usage: zep " + usage);
            return;
        }
        int status;
        try {
            body.run(args);
            if (!System.out.checkError()) return;
            System.err.println("zep " + word + ": cannot write to standard output");
            status = EXIT_FAILURE;
        } catch (UsageException e) {
            System.err.println("zep " + word + ": " + oneLine(e.getMessage()) + " (usage: zep " + usage + ")");
            status = EXIT_USAGE;
        } catch (DataFileException | CommandException e) {
            System.err.println("zep " + word + ": " + oneLine(e.getMessage()));
            status = EXIT_FAILURE;
        }
        System.exit(status);
    }

    /** Control characters of a file name would break the message's single line. */
    static String oneLine(String text) {
        StringBuilder line = new StringBuilder(text.length());
        text.chars().forEach(c -> {
            if (Character.isISOControl(c)) line.append(String.format("\\u%04x", c));
            else line.append((char) c);
        });
        return line.toString();
    }
}
