package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.ModelFile;
import com.quorvane.gridmere.traffic.classic.model.RoadModel;
import com.quorvane.gridmere.traffic.classic.model.RunFile;
import com.quorvane.gridmere.traffic.classic.model.TextFiles;
import java.io.IOException;
import java.nio.file.Path;
import java.util.Set;

/** Writes a road model file. */
public final class CreateModelCommand {

    static final String USAGE = "createmodel <model-file> [--length N] [--vehicles N | --density D] [--vmax V]"
            + " [--slowdown P] [--seed S]";

    private CreateModelCommand() {
    }

    public static void execute(String[] args) {
        CommandLine.run("createmodel", USAGE, args, CreateModelCommand::run);
    }

    private static void run(String[] argv) throws UsageException, CommandLine.CommandException {
        Arguments args = new Arguments(argv,
                Set.of("--length", "--vehicles", "--density", "--vmax", "--slowdown", "--seed"));
        args.expectPositional(1, "<model-file>");
        Path file = args.path(0);
        int length = args.integer("--length", RoadModel.DEFAULT_LENGTH, 1, RoadModel.MAX_LENGTH);
        if (args.has("--vehicles") && args.has("--density")) {
            throw new UsageException("give --vehicles or --density, not both");
        }
        int vehicles = args.has("--vehicles")
                ? args.integer("--vehicles", 0, 0, length)
                : RoadModel.vehiclesFor(args.decimal("--density", RoadModel.DEFAULT_DENSITY, 0, 1), length);
        RoadModel model = new RoadModel(length, vehicles,
                args.integer("--vmax", RoadModel.DEFAULT_VMAX, 0, RoadModel.MAX_VMAX),
                args.decimal("--slowdown", RoadModel.DEFAULT_SLOWDOWN, 0, 1),
                args.longInteger("--seed", RoadModel.DEFAULT_SEED));
        try {
            ModelFile.write(file, model);
        } catch (IOException e) {
            throw new CommandLine.CommandException("cannot write " + file + ": " + TextFiles.describe(e));
        }
        System.out.println("wrote " + file + ": " + model.length() + " cells, " + model.vehicles()
                + " vehicles (density " + RunFile.decimal(model.density()) + "), vmax " + model.vmax()
                + ", slowdown " + model.slowdown() + ", seed " + model.seed());
    }
}
