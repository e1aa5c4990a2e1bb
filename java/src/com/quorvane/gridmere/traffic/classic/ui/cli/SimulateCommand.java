package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.DataFileException;
import com.quorvane.gridmere.traffic.classic.model.ModelFile;
import com.quorvane.gridmere.traffic.classic.model.RoadModel;
import com.quorvane.gridmere.traffic.classic.model.Run;
import com.quorvane.gridmere.traffic.classic.model.RunFile;
import com.quorvane.gridmere.traffic.classic.model.RunSummary;
import com.quorvane.gridmere.traffic.classic.model.TextFiles;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Set;

/** Simulates a road model and writes the run file. */
public final class SimulateCommand {

    static final String USAGE = "cfs <model-file> <run-file> [--steps N] [--warmup N]";

    private SimulateCommand() {
    }

    public static void execute(String[] args) {
        CommandLine.run("cfs", USAGE, args, SimulateCommand::run);
    }

    private static void run(String[] argv) throws UsageException, DataFileException, CommandLine.CommandException {
        Arguments args = new Arguments(argv, Set.of("--steps", "--warmup"));
        args.expectPositional(2, "<model-file>", "<run-file>");
        Path modelFile = args.path(0);
        Path runFile = args.path(1);
        int steps = args.integer("--steps", Run.DEFAULT_STEPS, 1, Run.MAX_STEPS);
        int warmup = args.integer("--warmup", Run.DEFAULT_WARMUP, 0, Run.MAX_WARMUP);
        if (sameFile(modelFile, runFile)) throw new UsageException("the run file would replace the model file");
        RoadModel model = ModelFile.read(modelFile);
        String problem = Run.sizeProblem(model, warmup, steps);
        if (problem != null) throw new UsageException(problem);
        Run run = Run.simulate(model, warmup, steps);
        try {
            RunFile.write(runFile, run);
        } catch (IOException e) {
            throw new CommandLine.CommandException("cannot write " + runFile + ": " + TextFiles.describe(e));
        }
        RunSummary summary = run.summary();
        System.out.println(runFile + ": " + summary.steps() + " steps after " + summary.warmup() + " warm-up steps");
        System.out.println("density     " + RunFile.decimal(summary.density()) + " vehicles per cell");
        System.out.println("flow        " + RunFile.decimal(summary.flow()) + " vehicles per step");
        System.out.println("mean speed  " + RunFile.decimal(summary.meanSpeed()) + " cells per step");
    }

    private static boolean sameFile(Path a, Path b) {
        try {
            return Files.exists(b) && Files.isSameFile(a, b);
        } catch (IOException e) {
            return false;
        }
    }
}
