package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.model.*;
import com.quorvane.gridmere.traffic.classic.ui.cli.Cli;
import java.nio.file.*;
import java.util.*;

/**
 * Lists the run files of a directory (command word ls), known by their first
 * line rather than their names. Hidden files are left out.
 */
public final class CatalogRuns {

    public static void main(String[] args) {
        Cli.run("ls [directory]", args, cli -> {
            Path directory = cli.file(0, ".");
            String[] all = directory.toFile().list();
            if (all == null) throw new DataFiles.BadFile(directory, "is not a directory that can be listed");
            // Only regular files are opened: reading a pipe could wait for ever.
            List<String> names = Arrays.stream(all).filter(name -> !name.startsWith(".")
                    && Files.isRegularFile(directory.resolve(name)) && DataFiles.startsAsRun(directory.resolve(name)))
                    .sorted().toList();
            String format = "%-" + names.stream().mapToInt(String::length).max().orElse(1) + "s  %6d  %s  %s%n";
            int unreadable = 0;
            for (String name : names) {
                try {
                    RoadModel.Run run = DataFiles.read(directory.resolve(name), DataFiles.RUN_FORMAT, false);
                    System.out.printf(Locale.ROOT, format, name, run.steps(),
                            DataFiles.decimal(run.model().density()), DataFiles.decimal(run.flow()));
                } catch (DataFiles.BadFile e) {
                    // The readable runs are listed all the same.
                    System.err.println("zep ls: " + e.getMessage());
                    unreadable++;
                }
            }
            if (unreadable > 0) throw new DataFiles.BadFile(directory, unreadable + " run file(s) cannot be read");
        });
    }
}
