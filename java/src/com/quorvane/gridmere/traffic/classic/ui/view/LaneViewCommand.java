package com.quorvane.gridmere.traffic.classic.ui.view;

import com.quorvane.gridmere.traffic.classic.model.DataFileException;
import com.quorvane.gridmere.traffic.classic.model.ModelFile;
import com.quorvane.gridmere.traffic.classic.model.RoadModel;
import com.quorvane.gridmere.traffic.classic.model.Run;
import com.quorvane.gridmere.traffic.classic.model.RunFile;
import com.quorvane.gridmere.traffic.classic.model.RunSummary;
import com.quorvane.gridmere.traffic.classic.model.TextFileReader;
import com.quorvane.gridmere.traffic.classic.ui.cli.Arguments;
import com.quorvane.gridmere.traffic.classic.ui.cli.CommandLine;
import com.quorvane.gridmere.traffic.classic.ui.cli.Frames;
import com.quorvane.gridmere.traffic.classic.ui.cli.UsageException;
import java.awt.AWTError;
import java.awt.GraphicsEnvironment;
import java.awt.HeadlessException;
import java.lang.reflect.InvocationTargetException;
import java.nio.file.Path;
import java.util.Set;
import javax.swing.SwingUtilities;

/**
 * Shows a run, or a model simulated on the spot, as a ring road: in a window
 * when there is a display, as text otherwise.
 */
public final class LaneViewCommand {

    static final String USAGE = "zep [run-or-model-file]";

    private LaneViewCommand() {
    }

    public static void execute(String[] args) {
        CommandLine.run("zep", USAGE, args, LaneViewCommand::run);
    }

    private static void run(String[] argv) throws UsageException, DataFileException {
        Arguments args = new Arguments(argv, Set.of());
        args.expectPositional(0, "[run-or-model-file]");
        Run run;
        String title;
        if (args.hasPositional(0)) {
            Path file = args.path(0);
            run = load(file);
            title = file.getFileName().toString();
        } else {
            run = Run.simulate(RoadModel.defaults(), Run.DEFAULT_WARMUP, Run.DEFAULT_STEPS);
            title = "default model";
        }
        if (!GraphicsEnvironment.isHeadless()) {
            try {
                // main returns once the window is up; the window ends the program
                // when it closes, as the event thread is then the last one left.
                SwingUtilities.invokeAndWait(() -> LaneViewWindow.open(run, title));
                return;
            } catch (InvocationTargetException e) {
                if (!(e.getCause() instanceof AWTError || e.getCause() instanceof HeadlessException)) {
                    throw new IllegalStateException(e.getCause());
                }
                System.err.println("zep zep: no usable display (" + e.getCause().getMessage() + "); showing text");
            } catch (AWTError | HeadlessException e) {
                System.err.println("zep zep: no usable display (" + e.getMessage() + "); showing text");
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                return;
            }
        }
        printText(run, title);
    }

    private static Run load(Path file) throws DataFileException {
        try (TextFileReader reader = TextFileReader.open(file)) {
            String first = ModelFile.firstLine(reader);
            if (first.equals(RunFile.FORMAT_LINE)) return RunFile.parse(reader);
            if (first.equals(ModelFile.FORMAT_LINE)) {
                return Run.simulate(ModelFile.parse(reader), Run.DEFAULT_WARMUP, Run.DEFAULT_STEPS);
            }
            throw new DataFileException(file, "is neither a road model nor a run file");
        }
    }

    private static void printText(Run run, String title) {
        RoadModel model = run.model();
        RunSummary summary = run.summary();
        System.out.println("Lane view of " + title + ": " + model.length() + " cells, " + model.vehicles()
                + " vehicles, vmax " + model.vmax() + ", slowdown " + model.slowdown() + ", seed " + model.seed());
        System.out.println("One line per step; \".\" is an empty cell, a digit the speed of a vehicle.");
        int width = Integer.toString(Frames.step(run, run.steps() - 1)).length();
        for (int i = 0; i < run.steps(); i++) {
            String step = Integer.toString(Frames.step(run, i));
            System.out.println(" ".repeat(width - step.length()) + step + " |" + run.rowText(i) + "|");
        }
        System.out.println("density " + RunFile.decimal(summary.density()) + "  flow " + RunFile.decimal(summary.flow())
                + "  mean speed " + RunFile.decimal(summary.meanSpeed()));
    }
}
