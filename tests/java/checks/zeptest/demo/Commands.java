package zeptest.demo;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.concurrent.TimeUnit;

/**
 * Runs the demo's commands from a template in which {word} stands for the
 * command word and {class} for its entry class, such as
 * "java -cp zep.jar {class}" or "path/to/zep {word}". They run in the work
 * directory, which holds zep.jar, as the launcher expects.
 */
final class Commands {

    static final Map<String, String> ENTRY_CLASSES = Map.of(
            "zep", "com.quorvane.gridmere.traffic.classic.ui.x.LaneViewX",
            "cfs", "com.quorvane.gridmere.traffic.classic.ui.x.CityFlowSimulator",
            "ls", "com.quorvane.gridmere.traffic.classic.ui.x.CatalogRuns",
            "createmodel", "com.quorvane.gridmere.traffic.classic.ui.analysis.ModelBuildWorker",
            "animation", "com.quorvane.gridmere.traffic.classic.ui.analysis.PlaybackWorker");

    record Result(List<String> command, int exitCode, String out, String err) {
        List<String> outLines() {
            return out.isEmpty() ? List.of() : Arrays.asList(out.split("\r?\n"));
        }

        @Override
        public String toString() {
            return "command: " + String.join(" ", command) + "\nexit code: " + exitCode
                    + "\n--- standard output ---\n" + out + "--- standard error ---\n" + err + "---";
        }
    }

    private final List<String> template;
    private final Path workDir;
    private final Path captureDir;
    private Result last;

    Commands(List<String> template, Path workDir, Path captureDir) {
        this.template = template;
        this.workDir = workDir;
        this.captureDir = captureDir;
    }

    Path workDir() {
        return workDir;
    }

    /** The last command that ran, for the message of a failed check. */
    Result last() {
        return last;
    }

    Result run(String word, String... args) throws IOException, InterruptedException {
        List<String> command = new ArrayList<>();
        for (String part : template) {
            command.add(part.replace("{word}", word).replace("{class}", ENTRY_CLASSES.get(word)));
        }
        command.addAll(List.of(args));
        Path out = captureDir.resolve("stdout");
        Path err = captureDir.resolve("stderr");
        ProcessBuilder builder = new ProcessBuilder(command).directory(workDir.toFile())
                .redirectOutput(out.toFile()).redirectError(err.toFile());
        // The lane view must take its text form: no window may open in a test.
        builder.environment().remove("DISPLAY");
        builder.environment().remove("WAYLAND_DISPLAY");
        Process process = builder.start();
        // Nothing to read: a command that waits for input fails instead of hanging.
        process.getOutputStream().close();
        if (!process.waitFor(120, TimeUnit.SECONDS)) {
            process.destroyForcibly();
            throw new IllegalStateException("no end after 120 s: " + String.join(" ", command));
        }
        last = new Result(command, process.exitValue(), Files.readString(out, StandardCharsets.UTF_8),
                Files.readString(err, StandardCharsets.UTF_8));
        return last;
    }
}
