package com.quorvane.gridmere.traffic.classic.ui.x;

import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;

/**
 * Standard output in UTF-8 with "\n" line ends, whatever the platform and
 * locale: the tests compare the bytes. System.out would use the platform's
 * encoding and line separator.
 */
final class ProbeOutput {

    private static final PrintStream OUT =
            new PrintStream(new FileOutputStream(FileDescriptor.out), false, StandardCharsets.UTF_8);

    private ProbeOutput() {
    }

    static synchronized void line(String text) {
        OUT.print(text + "\n");
        OUT.flush();
    }
}
