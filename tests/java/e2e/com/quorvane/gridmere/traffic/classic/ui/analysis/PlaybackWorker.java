package com.quorvane.gridmere.traffic.classic.ui.analysis;

import java.nio.file.Files;
import java.nio.file.Path;

/**
 * Does nothing (command word animation), so that timing it measures the
 * launcher and the start of the virtual machine alone. ModelBuildWorker
 * (createmodel) is missing from this archive on purpose.
 *
 * It takes part in the desktop launcher's single instance: launchedAgain
 * writes what it received (each text as UTF-16 code units in hexadecimal) and
 * on which thread. With zeptest.stopFile, the program stays alive until that
 * file exists (at most 60 s), and main makes the file zeptest.readyFile names
 * when it has started; zeptest.againWaits makes launchedAgain take that many
 * milliseconds; an argument "throw" makes it throw.
 */
public final class PlaybackWorker {

    private PlaybackWorker() {
    }

    public static void main(String[] args) throws java.io.IOException {
        String stopFile = System.getProperty("zeptest.stopFile");
        if (stopFile == null) return;
        Thread holder = new Thread(() -> {
            long end = System.nanoTime() + 60_000_000_000L;
            while (!Files.exists(Path.of(stopFile)) && System.nanoTime() < end) {
                try {
                    Thread.sleep(20);
                } catch (InterruptedException e) {
                    return;
                }
            }
        }, "zeptest holder");
        holder.start();
        System.out.println("main argc=" + args.length);
        System.out.flush();
        String readyFile = System.getProperty("zeptest.readyFile");
        if (readyFile != null) Files.writeString(Path.of(readyFile), "");
    }

    public static void launchedAgain(String workingDirectory, String[] args) throws InterruptedException {
        Thread.sleep(Long.getLong("zeptest.againWaits", 0));
        StringBuilder text = new StringBuilder("again wd=").append(units(workingDirectory));
        text.append(" argc=").append(args.length);
        for (String arg : args) text.append(" [").append(units(arg)).append(']');
        Thread thread = Thread.currentThread();
        text.append(" thread=").append(thread.getName()).append(" daemon=").append(thread.isDaemon());
        System.out.println(text);
        System.out.flush();
        if (args.length > 0 && args[0].equals("throw")) throw new IllegalStateException("zeptest: thrown");
    }

    private static String units(String text) {
        StringBuilder units = new StringBuilder();
        for (int i = 0; i < text.length(); i++) {
            if (i > 0) units.append(' ');
            units.append(String.format("%04x", (int) text.charAt(i)));
        }
        return units.toString();
    }
}
