package com.quorvane.gridmere.traffic.classic.ui.analysis;

import com.quorvane.gridmere.traffic.classic.ui.cli.PlaybackCommand;

/** Replays a run file as text frames (command word animation). */
public final class PlaybackWorker {

    private PlaybackWorker() {
    }

    public static void main(String[] args) {
        PlaybackCommand.execute(args);
    }
}
