package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.ui.view.LaneViewCommand;

/** Shows a run or a model as a ring road (command word zep). */
public final class LaneViewX {

    private LaneViewX() {
    }

    public static void main(String[] args) {
        LaneViewCommand.execute(args);
    }
}
