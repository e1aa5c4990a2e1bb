package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.Run;
import java.util.Locale;

/** Words about one step of a run, shared by the text and the window views. */
public final class Frames {

    private Frames() {
    }

    /** The simulated step that row i of the diagram shows, counting the warm-up. */
    public static int step(Run run, int i) {
        return run.summary().warmup() + i + 1;
    }

    public static double meanSpeed(Run run, int i) {
        int vehicles = 0;
        int sum = 0;
        for (int cell = 0; cell < run.model().length(); cell++) {
            int v = run.speedAt(i, cell);
            if (v >= 0) {
                vehicles++;
                sum += v;
            }
        }
        return vehicles == 0 ? 0 : (double) sum / vehicles;
    }

    public static String header(Run run, int i) {
        return String.format(Locale.ROOT, "frame %d  step %d  mean speed %.2f", i, step(run, i), meanSpeed(run, i));
    }
}
