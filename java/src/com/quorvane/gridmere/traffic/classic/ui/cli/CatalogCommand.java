package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.DataFileException;
import com.quorvane.gridmere.traffic.classic.model.RunFile;
import com.quorvane.gridmere.traffic.classic.model.RunSummary;
import com.quorvane.gridmere.traffic.classic.model.TextFiles;
import java.io.IOException;
import java.nio.file.DirectoryIteratorException;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.Set;

/**
 * Lists the run files of a directory, recognised by their first line, not by
 * their names. Hidden files are left out, which also hides runs being written.
 */
public final class CatalogCommand {

    static final String USAGE = "ls [directory]";

    private record Entry(String name, RunSummary summary) {
    }

    private CatalogCommand() {
    }

    public static void execute(String[] args) {
        CommandLine.run("ls", USAGE, args, CatalogCommand::run);
    }

    private static void run(String[] argv) throws UsageException, DataFileException, CommandLine.CommandException {
        Arguments args = new Arguments(argv, Set.of());
        args.expectPositional(0, "[directory]");
        Path directory = args.hasPositional(0) ? args.path(0) : Path.of(".");
        if (!Files.isDirectory(directory)) {
            throw new DataFileException(directory, Files.exists(directory) ? "is not a directory" : "no such directory");
        }
        List<Entry> entries = new ArrayList<>();
        List<String> unreadable = new ArrayList<>();
        try (DirectoryStream<Path> files = Files.newDirectoryStream(directory)) {
            for (Path file : files) {
                String name = file.getFileName().toString();
                if (name.startsWith(".") || !Files.isRegularFile(file) || !RunFile.looksLikeRunFile(file)) continue;
                try {
                    entries.add(new Entry(name, RunFile.readHead(file).summary()));
                } catch (DataFileException e) {
                    unreadable.add(e.getMessage());
                }
            }
        } catch (IOException | DirectoryIteratorException e) {
            IOException cause = e instanceof IOException io ? io : ((DirectoryIteratorException) e).getCause();
            throw new DataFileException(directory, "cannot be listed (" + TextFiles.describe(cause) + ")");
        }
        entries.sort(Comparator.comparing(Entry::name));
        int nameWidth = 0;
        int stepsWidth = 0;
        for (Entry entry : entries) {
            nameWidth = Math.max(nameWidth, width(entry.name()));
            stepsWidth = Math.max(stepsWidth, Integer.toString(entry.summary().steps()).length());
        }
        for (Entry entry : entries) {
            RunSummary summary = entry.summary();
            String steps = Integer.toString(summary.steps());
            System.out.println(entry.name() + " ".repeat(nameWidth - width(entry.name()) + 2)
                    + " ".repeat(stepsWidth - steps.length()) + steps + "  "
                    + RunFile.decimal(summary.density()) + "  " + RunFile.decimal(summary.flow()));
        }
        // The readable runs are listed all the same; the status still tells of the others.
        if (!unreadable.isEmpty()) {
            for (String problem : unreadable) System.err.println("zep ls: " + CommandLine.oneLine(problem));
            throw new CommandLine.CommandException(unreadable.size() + " run file(s) could not be read");
        }
    }

    private static int width(String name) {
        return name.codePointCount(0, name.length());
    }
}
