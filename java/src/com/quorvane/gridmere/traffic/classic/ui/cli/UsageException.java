package com.quorvane.gridmere.traffic.classic.ui.cli;

/** The command line asks for something the command cannot do. */
public final class UsageException extends Exception {

    private static final long serialVersionUID = 1L;

    public UsageException(String problem) {
        super(problem);
    }
}
