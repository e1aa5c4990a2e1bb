package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.model.*;
import com.quorvane.gridmere.traffic.classic.ui.cli.Cli;
import java.awt.*;
import java.lang.reflect.InvocationTargetException;
import java.nio.file.Path;
import java.util.Locale;
import javax.swing.JOptionPane;
import javax.swing.SwingUtilities;

/**
 * Shows a run, or a model simulated on the spot, as a ring road (command word
 * zep): in a window when there is a display, as text otherwise.
 */
public final class LaneViewX {

    private static final String USAGE = "zep [run-or-model-file]";

    public static void main(String[] args) {
        Cli.run(USAGE, args, cli -> {
            Path file = cli.file(0, null);
            RoadModel.Run run = runOf(file);
            String title = titleOf(file);
            if (!GraphicsEnvironment.isHeadless()) {
                try {
                    // main returns with the window up; the program ends when it closes.
                    SwingUtilities.invokeAndWait(() -> LaneViewWindow.open(run, title));
                    return;
                } catch (AWTError | HeadlessException | InvocationTargetException e) {
                    Throwable why = e instanceof InvocationTargetException ? e.getCause() : e;
                    if (!(why instanceof AWTError || why instanceof HeadlessException)) {
                        throw new IllegalStateException(why);
                    }
                    System.err.println("zep zep: no usable display (" + why.getMessage() + "); showing text");
                }
            }
            printText(run, title);
        });
    }

    private static synchronized void printText(RoadModel.Run run, String title) {
        RoadModel model = run.model();
        System.out.println("Lane view of " + title + ": " + model.length() + " cells, " + model.vehicles()
                + " vehicles, vmax " + model.vmax() + ", slowdown " + model.slowdown() + ", seed " + model.seed());
        System.out.println("One line per step; \".\" is an empty cell, a digit the speed of a vehicle.");
        String format = "%" + Integer.toString(run.step(run.steps() - 1)).length() + "d |%s|%n";
        for (int i = 0; i < run.steps(); i++) {
            System.out.printf(Locale.ROOT, format, run.step(i), run.diagram().get(i));
        }
        System.out.println("density " + DataFiles.decimal(model.density()) + "  flow "
                + DataFiles.decimal(run.flow()) + "  mean speed " + DataFiles.decimal(run.meanSpeed()));
        System.out.flush();
    }

    /**
     * A later start of the lane view, which the launcher hands to this
     * process: one more window, for the file it names (relative to that
     * start's own working directory) or for the default model; its text, here,
     * without a display. What is wrong with it is told, and this program goes
     * on.
     */
    public static void launchedAgain(String workingDirectory, String[] args) {
        boolean headless = GraphicsEnvironment.isHeadless();
        try {
            Path file = Cli.parse(USAGE, args).file(0, null);
            if (file != null) file = Path.of(workingDirectory).resolve(file);
            RoadModel.Run run = runOf(file);
            String title = titleOf(file);
            if (headless) {
                printText(run, title);
            } else {
                SwingUtilities.invokeLater(() -> LaneViewWindow.open(run, title));
            }
        } catch (IllegalArgumentException | DataFiles.BadFile e) {
            String problem = "zep zep: " + e.getMessage();
            System.err.println(problem);
            if (!headless) {
                SwingUtilities.invokeLater(() -> JOptionPane.showMessageDialog(null, problem,
                        "Gridmere lane view", JOptionPane.ERROR_MESSAGE));
            }
        }
    }

    private static RoadModel.Run runOf(Path file) throws DataFiles.BadFile {
        RoadModel.Run read = file != null ? DataFiles.read(file, null, true) : null;
        RoadModel model = read != null ? read.model() : RoadModel.DEFAULT;
        // A model, or none, is simulated as cfs does by default.
        return read != null && read.diagram() != null ? read
                : model.simulate(RoadModel.DEFAULT_WARMUP, RoadModel.DEFAULT_STEPS);
    }

    private static String titleOf(Path file) {
        return file != null ? file.getFileName().toString() : "default model";
    }
}
