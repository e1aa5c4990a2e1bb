package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.model.*;
import com.quorvane.gridmere.traffic.classic.ui.cli.Cli;
import java.io.IOException;
import java.nio.file.*;

/** Simulates a road model into a run file (command word cfs). */
public final class CityFlowSimulator {

    public static void main(String[] args) {
        Cli.run("cfs <model-file> <run-file> [--steps N] [--warmup N]", args, cli -> {
            Path modelFile = cli.file(0, null);
            Path runFile = cli.file(1, null);
            int steps = cli.whole("--steps", RoadModel.DEFAULT_STEPS, 1, RoadModel.MAX_STEPS);
            int warmup = cli.whole("--warmup", RoadModel.DEFAULT_WARMUP, 0, RoadModel.MAX_STEPS);
            try {
                if (Files.isSameFile(modelFile, runFile)) {
                    throw new IllegalArgumentException("the run file would replace the model file");
                }
            } catch (IOException e) {
                // One of them does not exist (yet), so they are not the same.
            }
            RoadModel model = DataFiles.read(modelFile, DataFiles.MODEL_FORMAT, false).model();
            model.checkRunSize(warmup, steps);
            RoadModel.Run run = model.simulate(warmup, steps);
            DataFiles.writeRun(runFile, run);
            System.out.println(runFile + ": " + steps + " steps after " + warmup + " warm-up steps");
            System.out.println("density     " + DataFiles.decimal(model.density()) + " vehicles per cell");
            System.out.println("flow        " + DataFiles.decimal(run.flow()) + " vehicles per step");
            System.out.println("mean speed  " + DataFiles.decimal(run.meanSpeed()) + " cells per step");
        });
    }
}
