package com.quorvane.gridmere.traffic.classic.ui.x;

/**
 * Ends in the way its first argument asks (command word cfs):
 * "throw [MESSAGE]" throws out of main, "exit N" calls System.exit(N), "thread MS"
 * leaves a non-daemon thread running for MS milliseconds after main has
 * returned, "ok" or nothing returns at once.
 */
public final class CityFlowSimulator {

    private CityFlowSimulator() {
    }

    public static void main(String[] args) {
        String behaviour = args.length == 0 ? "ok" : args[0];
        switch (behaviour) {
            case "ok" -> {
            }
            case "throw" -> throw new IllegalStateException(args.length > 1 ? args[1] : "zeptest boom");
            case "exit" -> System.exit(Integer.parseInt(secondArgument(args)));
            case "thread" -> {
                long millis = Long.parseLong(secondArgument(args));
                Thread worker = new Thread(() -> {
                    try {
                        Thread.sleep(millis);
                    } catch (InterruptedException e) {
                        Thread.currentThread().interrupt();
                    }
                    ProbeOutput.line("worker done");
                }, "zeptest-worker");
                // The point: the launcher must wait for this thread after main returns.
                worker.setDaemon(false);
                worker.start();
                ProbeOutput.line("main returned");
            }
            default -> throw new IllegalArgumentException("zeptest: unknown behaviour \"" + behaviour + "\"");
        }
    }

    private static String secondArgument(String[] args) {
        if (args.length < 2) throw new IllegalArgumentException("zeptest: \"" + args[0] + "\" needs a number");
        return args[1];
    }
}
