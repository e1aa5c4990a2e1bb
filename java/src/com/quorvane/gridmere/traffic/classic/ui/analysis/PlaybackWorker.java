package com.quorvane.gridmere.traffic.classic.ui.analysis;

import com.quorvane.gridmere.traffic.classic.model.*;
import com.quorvane.gridmere.traffic.classic.ui.cli.Cli;
import java.util.Locale;

/** Replays a run file as text frames (command word animation). */
public final class PlaybackWorker {

    public static void main(String[] args) {
        Cli.run("animation <run-file> [--from N] [--frames N] [--delay MS]", args, cli -> {
            int from = cli.whole("--from", 0, 0, RoadModel.MAX_STEPS - 1);
            int frames = cli.whole("--frames", RoadModel.MAX_STEPS, 1, RoadModel.MAX_STEPS);
            int delay = cli.whole("--delay", 100, 0, 60_000);
            RoadModel.Run run = DataFiles.read(cli.file(0, null), DataFiles.RUN_FORMAT, true);
            if (from >= run.steps()) {
                throw new IllegalArgumentException("--from " + from + " is past the last frame, " + (run.steps() - 1));
            }
            for (int i = from; i < Math.min(run.steps(), from + frames); i++) {
                if (i > from) Thread.sleep(delay);
                System.out.printf(Locale.ROOT, "frame %d  step %d  mean speed %.2f%n%s%n",
                        i, run.step(i), run.meanSpeed(i), run.diagram().get(i));
                // Flushes the frame; a closed pipe means that nobody is watching any more.
                if (System.out.checkError()) return;
            }
        });
    }
}
