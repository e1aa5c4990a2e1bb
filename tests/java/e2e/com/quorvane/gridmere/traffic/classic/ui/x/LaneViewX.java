package com.quorvane.gridmere.traffic.classic.ui.x;

/**
 * Probe (command word zep): shows what arrived in main. Each argument is
 * written as its UTF-16 code units in hexadecimal, so that the tests see
 * exactly which characters the launcher passed, whatever the console does
 * to text. System properties named in the comma-separated zeptest.show are
 * shown too, and with zeptest.heap the largest heap the machine allows.
 */
public final class LaneViewX {

    private LaneViewX() {
    }

    public static void main(String[] args) {
        StringBuilder text = new StringBuilder();
        text.append("argc=").append(args.length).append('\n');
        for (int i = 0; i < args.length; i++) {
            text.append("arg[").append(i).append("]=");
            String arg = args[i];
            for (int j = 0; j < arg.length(); j++) {
                if (j > 0) text.append(' ');
                text.append(String.format("%04x", (int) arg.charAt(j)));
            }
            text.append('\n');
        }
        String show = System.getProperty("zeptest.show");
        if (show != null) {
            for (String name : show.split(",")) {
                // getProperty refuses an empty name; "a,,b" just names two.
                if (name.isEmpty()) continue;
                String value = System.getProperty(name);
                text.append("prop ").append(name).append('=').append(value == null ? "<unset>" : value).append('\n');
            }
        }
        if (Boolean.getBoolean("zeptest.heap")) {
            text.append("heap MiB=").append(Runtime.getRuntime().maxMemory() / (1024 * 1024)).append('\n');
        }
        text.append("thread=").append(Thread.currentThread().getName());
        ProbeOutput.line(text.toString());
    }
}
