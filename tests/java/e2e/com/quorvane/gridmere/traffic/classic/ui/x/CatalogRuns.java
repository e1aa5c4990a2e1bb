package com.quorvane.gridmere.traffic.classic.ui.x;

/**
 * Has a main, but not main(String[]) (command word ls): the launcher's
 * lookup of the entry method must fail although the class loads.
 */
public final class CatalogRuns {

    private CatalogRuns() {
    }

    public static void main(String arg) {
        ProbeOutput.line("zeptest: main(String) must never be called, got " + arg);
    }
}
