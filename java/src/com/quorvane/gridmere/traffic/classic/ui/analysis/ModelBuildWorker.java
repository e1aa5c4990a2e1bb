package com.quorvane.gridmere.traffic.classic.ui.analysis;

import com.quorvane.gridmere.traffic.classic.model.*;
import com.quorvane.gridmere.traffic.classic.ui.cli.Cli;
import java.nio.file.Path;

/** Writes a road model file (command word createmodel). */
public final class ModelBuildWorker {

    public static void main(String[] args) {
        String usage = "createmodel <model-file> [--length N] [--vehicles N | --density D] [--vmax V]"
                + " [--slowdown P] [--seed S]";
        Cli.run(usage, args, cli -> {
            Path file = cli.file(0, null);
            RoadModel defaults = RoadModel.DEFAULT;
            int length = cli.whole("--length", defaults.length(), 1, RoadModel.MAX_LENGTH);
            if (cli.has("--vehicles") && cli.has("--density")) {
                throw new IllegalArgumentException("give --vehicles or --density, not both");
            }
            int vehicles = cli.has("--vehicles") ? cli.whole("--vehicles", 0, 0, length)
                    : (int) Math.round(cli.number("--density", defaults.density(), 0, 1) * length);
            int vmax = cli.whole("--vmax", defaults.vmax(), 0, RoadModel.MAX_VMAX);
            double slowdown = cli.number("--slowdown", defaults.slowdown(), 0, 1);
            int seed = cli.whole("--seed", defaults.seed(), Integer.MIN_VALUE, Integer.MAX_VALUE);
            RoadModel model = new RoadModel(length, vehicles, vmax, slowdown, seed);
            DataFiles.writeModel(file, model);
            System.out.println("wrote " + file + ": " + length + " cells, " + vehicles + " vehicles (density "
                    + DataFiles.decimal(model.density()) + "), vmax " + vmax + ", slowdown " + slowdown
                    + ", seed " + seed);
        });
    }
}
