package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.ui.cli.CatalogCommand;

/** Lists the run files of a directory (command word ls). */
public final class CatalogRuns {

    private CatalogRuns() {
    }

    public static void main(String[] args) {
        CatalogCommand.execute(args);
    }
}
