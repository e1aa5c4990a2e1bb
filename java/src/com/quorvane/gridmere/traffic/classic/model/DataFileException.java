package com.quorvane.gridmere.traffic.classic.model;

import java.nio.file.Path;

/** A model or run file that cannot be read, or whose content is not what it should be. */
public final class DataFileException extends Exception {

    private static final long serialVersionUID = 1L;

    private final String file;

    public DataFileException(Path file, String problem) {
        super(file + ": " + problem);
        this.file = file.toString();
    }

    /** The file, as the user named it. */
    public String file() {
        return file;
    }
}
