package com.quorvane.gridmere.traffic.classic.ui.cli;

import com.quorvane.gridmere.traffic.classic.model.DataFileException;
import com.quorvane.gridmere.traffic.classic.model.Run;
import com.quorvane.gridmere.traffic.classic.model.RunFile;
import java.util.Set;

/** Replays a run file on standard output, one text frame per step. */
public final class PlaybackCommand {

    static final String USAGE = "animation <run-file> [--from N] [--frames N] [--delay MS]";
    static final int DEFAULT_DELAY_MS = 100;

    private PlaybackCommand() {
    }

    public static void execute(String[] args) {
        CommandLine.run("animation", USAGE, args, PlaybackCommand::run);
    }

    private static void run(String[] argv) throws UsageException, DataFileException {
        Arguments args = new Arguments(argv, Set.of("--from", "--frames", "--delay"));
        args.expectPositional(1, "<run-file>");
        var file = args.path(0);
        int from = args.integer("--from", 0, 0, Run.MAX_STEPS - 1);
        int frames = args.integer("--frames", Run.MAX_STEPS, 1, Run.MAX_STEPS);
        int delay = args.integer("--delay", DEFAULT_DELAY_MS, 0, 60_000);
        Run run = RunFile.read(file);
        if (from >= run.steps()) {
            throw new UsageException("--from " + from + " is past the last frame of " + file + " ("
                    + (run.steps() - 1) + ")");
        }
        int end = from + Math.min(frames, run.steps() - from);
        for (int i = from; i < end; i++) {
            System.out.println(Frames.header(run, i));
            System.out.println(run.rowText(i));
            System.out.flush();
            // A closed pipe: nobody is watching any more.
            if (System.out.checkError()) return;
            if (i + 1 < end && delay > 0) {
                try {
                    Thread.sleep(delay);
                } catch (InterruptedException e) {
                    Thread.currentThread().interrupt();
                    return;
                }
            }
        }
    }
}
