package com.quorvane.gridmere.traffic.classic.ui.analysis;

/**
 * Does nothing (command word animation), so that timing it measures the
 * launcher and the start of the virtual machine alone. ModelBuildWorker
 * (createmodel) is missing from this archive on purpose.
 */
public final class PlaybackWorker {

    private PlaybackWorker() {
    }

    public static void main(String[] args) {
        // Returns at once.
    }
}
