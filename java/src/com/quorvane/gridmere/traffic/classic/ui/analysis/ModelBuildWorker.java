package com.quorvane.gridmere.traffic.classic.ui.analysis;

import com.quorvane.gridmere.traffic.classic.ui.cli.CreateModelCommand;

/** Writes a road model file (command word createmodel). */
public final class ModelBuildWorker {

    private ModelBuildWorker() {
    }

    public static void main(String[] args) {
        CreateModelCommand.execute(args);
    }
}
