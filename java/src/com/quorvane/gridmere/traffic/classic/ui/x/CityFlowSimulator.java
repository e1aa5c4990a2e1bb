package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.ui.cli.SimulateCommand;

/** Simulates a road model into a run file (command word cfs). */
public final class CityFlowSimulator {

    private CityFlowSimulator() {
    }

    public static void main(String[] args) {
        SimulateCommand.execute(args);
    }
}
