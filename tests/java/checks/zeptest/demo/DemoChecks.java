package zeptest.demo;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Comparator;
import java.util.List;
import java.util.stream.Stream;

/**
 * Drives the demo application through its commands, as a user would, and
 * checks what they write. Usage:
 *
 *   DemoChecks <group> <scratch-dir> <zep.jar> <command template>...
 *
 * The scratch directory is emptied first; see Commands for the template.
 * Exits 1 at the first failed check, with the command that led to it.
 */
public final class DemoChecks {

    static final class Failure extends RuntimeException {
        private static final long serialVersionUID = 1L;

        Failure(String message) {
            super(message);
        }
    }

    static void check(boolean ok, String what) {
        if (!ok) throw new Failure(what);
    }

    private final Commands commands;
    private final Path work;

    private DemoChecks(Commands commands) {
        this.commands = commands;
        this.work = commands.workDir();
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 4) {
            System.err.println("usage: DemoChecks <pipeline|physics|errors|unicode> <scratch-dir> <zep.jar> <command>...");
            System.exit(2);
        }
        Path scratch = Path.of(args[1]);
        deleteTree(scratch);
        Path work = scratch.resolve("work");
        Files.createDirectories(work);
        Files.copy(Path.of(args[2]), work.resolve("zep.jar"));
        Commands commands = new Commands(List.of(args).subList(3, args.length), work, scratch);
        DemoChecks checks = new DemoChecks(commands);
        try {
            switch (args[0]) {
                case "pipeline" -> checks.pipeline();
                case "physics" -> checks.physics();
                case "errors" -> checks.errors();
                case "unicode" -> checks.unicode();
                default -> throw new Failure("no check group " + args[0]);
            }
        } catch (Failure failure) {
            System.err.println("FAILED: " + failure.getMessage());
            if (commands.last() != null) System.err.println("last " + commands.last());
            System.exit(1);
        }
        System.out.println("passed: " + args[0]);
    }

    // createmodel -> cfs -> ls -> animation, and the lane view as text.
    private void pipeline() throws Exception {
        model("m.txt", "--length", "120", "--vehicles", "30", "--vmax", "5", "--slowdown", "0.3", "--seed", "7");
        RunText a = simulate("m.txt", "a.run", "--steps", "150", "--warmup", "50");
        String[][] expected = {{"length", "120"}, {"vehicles", "30"}, {"vmax", "5"}, {"slowdown", "0.3"},
            {"seed", "7"}, {"steps", "150"}, {"warmup", "50"}};
        for (String[] pair : expected) {
            check(pair[1].equals(a.header.get(pair[0])), "the run says " + pair[0] + "=" + pair[1] + ", not " + a.header.get(pair[0]));
        }
        simulate("m.txt", "b.run", "--steps", "150", "--warmup", "50");
        check(Arrays.equals(Files.readAllBytes(work.resolve("a.run")), Files.readAllBytes(work.resolve("b.run"))),
                "one model and seed give the same run file, byte for byte");
        model("m8.txt", "--length", "120", "--vehicles", "30", "--vmax", "5", "--slowdown", "0.3", "--seed", "8");
        RunText c = simulate("m8.txt", "c.run", "--steps", "150", "--warmup", "50");
        check(!c.rows.equals(a.rows), "another seed gives another run");

        Files.writeString(work.resolve("notes.txt"), "not a run\n");
        Files.writeString(work.resolve(".hidden.run"), Files.readString(work.resolve("a.run")));
        List<String> listing = ok("ls").outLines();
        check(listing.equals(ok("ls", ".").outLines()), "ls and ls . list the same");
        check(listing.size() == 3, "ls lists the three visible run files and nothing else: " + listing);
        String[] names = {"a.run", "b.run", "c.run"};
        RunText[] runs = {a, a, c};
        for (int i = 0; i < 3; i++) {
            String[] fields = listing.get(i).trim().split("\\s+");
            check(fields.length == 4 && fields[0].equals(names[i]), "ls line " + i + " is " + names[i] + " with three values");
            check(fields[1].equals(runs[i].header.get("steps")) && fields[2].equals(runs[i].header.get("density"))
                    && fields[3].equals(runs[i].header.get("flow")), "ls shows the steps, density and flow of " + names[i]);
        }

        List<String> frames = ok("animation", "a.run", "--from", "10", "--frames", "5", "--delay", "0").outLines();
        check(frames.size() == 10, "5 frames of two lines each");
        for (int i = 0; i < 5; i++) {
            check(frames.get(2 * i).startsWith("frame " + (10 + i) + " "), "frame " + (10 + i) + " is numbered");
            check(frames.get(2 * i + 1).equals(a.rows.get(10 + i)), "frame " + (10 + i) + " shows diagram line " + (10 + i));
        }
        check(ok("animation", "a.run", "--from", "147", "--frames", "10", "--delay", "0").outLines().size() == 6,
                "frames stop at the end of the run");
        long start = System.nanoTime();
        ok("animation", "a.run", "--frames", "3", "--delay", "300");
        check(System.nanoTime() - start >= 600_000_000L, "--delay 300 waits 300 ms between frames");

        String view = ok("zep", "a.run").out();
        int at = 0;
        for (String row : a.rows) {
            at = view.indexOf(row, at);
            check(at >= 0, "the text lane view shows every diagram line in order");
        }
        long rows = ok("zep", "m.txt").outLines().stream().filter(line -> line.contains("|")).count();
        check(rows == 200, "the lane view of a model shows a run of 200 steps, not " + rows);
    }

    // Properties that follow from the rules, whatever the random numbers.
    private void physics() throws Exception {
        RunText still = simulate(model("still.txt", "--length", "80", "--density", "0.3", "--vmax", "0"), "still.run");
        check(still.decimal("flow") == 0 && still.decimal("mean-speed") == 0, "with vmax 0 nothing flows");
        check(still.rows.stream().distinct().count() == 1, "with vmax 0 nothing moves");

        RunText full = simulate(model("full.txt", "--length", "60", "--density", "1"), "full.run");
        check(full.decimal("flow") == 0, "a road with a vehicle in every cell does not flow");
        check(full.rows.stream().allMatch(row -> row.equals("0".repeat(60))), "a full road stands still");

        RunText empty = simulate(model("empty.txt", "--length", "60", "--vehicles", "0"), "empty.run");
        check(empty.decimal("flow") == 0 && empty.decimal("density") == 0, "an empty road has no flow and no density");

        // Below 1/(vmax+1) vehicles per cell and without slowdown, everyone
        // ends up at vmax: 10 vehicles x 5 cells per step over 100 cells.
        RunText free = simulate(model("free.txt", "--length", "100", "--vehicles", "10", "--vmax", "5",
                "--slowdown", "0", "--seed", "3"), "free.run", "--warmup", "200", "--steps", "100");
        check(free.header.get("flow").equals("0.500000"), "free flow: 0.5 vehicles per step, not " + free.header.get("flow"));
        check(free.decimal("mean-speed") == 5, "free flow: everyone at vmax");

        // A lone vehicle has the whole ring ahead of it: 5 cells per step round 50 cells.
        RunText lone = simulate(model("lone.txt", "--length", "50", "--vehicles", "1", "--vmax", "5", "--slowdown", "0"),
                "lone.run", "--warmup", "10", "--steps", "100");
        check(lone.header.get("flow").equals("0.100000"), "a lone vehicle passes once in 10 steps, not " + lone.header.get("flow"));

        RunText odd = simulate(model("odd.txt", "--length", "70", "--density", "0.31"), "odd.run");
        check(odd.integer("vehicles") == 22, "--density 0.31 on 70 cells gives the nearest whole number, 22 vehicles");

        RunText dense = simulate(model("dense.txt", "--length", "200", "--density", "0.5", "--seed", "11"), "dense.run");
        check(dense.decimal("flow") > 0, "a half-full road with vmax 5 still flows");
    }

    private void errors() throws Exception {
        usageError("createmodel");
        usageError("createmodel", "m.txt", "--length", "abc");
        usageError("createmodel", "m.txt", "--length", "0");
        usageError("createmodel", "m.txt", "--vehicles", "5", "--density", "0.1");
        usageError("createmodel", "m.txt", "--length", "100", "--vehicles", "101");
        usageError("createmodel", "m.txt", "--slowdown", "1.5");
        usageError("createmodel", "m.txt", "--slowdown", "NaN");
        usageError("createmodel", "m.txt", "--vmax", "10");
        usageError("createmodel", "m.txt", "--seed", "1.5");
        usageError("createmodel", "m.txt", "--seed", "2147483648");
        usageError("createmodel", "m.txt", "--colour", "red");
        usageError("createmodel", "m.txt", "--seed");
        usageError("createmodel", "m.txt", "--seed", "1", "--seed", "2");
        usageError("createmodel", "m.txt", "extra");
        check(!Files.exists(work.resolve("m.txt")), "a refused createmodel writes no file");

        model("m.txt", "--length", "50", "--vehicles", "10");
        byte[] modelBytes = Files.readAllBytes(work.resolve("m.txt"));
        usageError("cfs", "m.txt");
        usageError("cfs", "m.txt", "r.run", "--steps", "0");
        usageError("cfs", "m.txt", "r.run", "--warmup", "-1");
        usageError("cfs", "m.txt", "m.txt");
        check(Arrays.equals(modelBytes, Files.readAllBytes(work.resolve("m.txt"))), "cfs never writes its run over its model");
        model("big.txt", "--length", "10000");
        usageError("cfs", "big.txt", "r.run", "--steps", "100000");
        usageError("animation");
        usageError("ls", "a", "b");
        usageError("zep", "a", "b");
        check(!Files.exists(work.resolve("r.run")), "a refused cfs writes no run file");

        String[][] broken = {
            {"no-vmax.txt", "format=gridmere-road-model 1\nlength=50\nvehicles=10\nslowdown=0.2\nseed=1\n"},
            {"big-vmax.txt", "format=gridmere-road-model 1\nlength=50\nvehicles=10\nvmax=12\nslowdown=0.2\nseed=1\n"},
            {"crowded.txt", "format=gridmere-road-model 1\nlength=50\nvehicles=60\nvmax=5\nslowdown=0.2\nseed=1\n"},
            {"twice.txt", "format=gridmere-road-model 1\nlength=50\nlength=50\nvehicles=1\nvmax=5\nslowdown=0.2\nseed=1\n"},
            {"comma.txt", "format=gridmere-road-model 1\nlength=50\nvehicles=1\nvmax=5\nslowdown=0,2\nseed=1\n"},
            {"prose.txt", "Dear diary,\ntoday the traffic was bad.\n"},
            {"empty.txt", ""},
        };
        for (String[] file : broken) {
            Files.writeString(work.resolve(file[0]), file[1]);
            fileError(file[0], "cfs", file[0], "r.run");
        }
        Files.write(work.resolve("binary.txt"), new byte[] {'f', 'o', (byte) 0xff, (byte) 0xfe, 0, '\n'});
        fileError("binary.txt", "cfs", "binary.txt", "r.run");
        fileError("missing.txt", "cfs", "missing.txt", "r.run");
        Files.createDirectory(work.resolve("folder.txt"));
        fileError("folder.txt", "cfs", "folder.txt", "r.run");
        fileError("prose.txt", "zep", "prose.txt");
        check(!Files.exists(work.resolve("r.run")), "a failed cfs writes no run file");
        fileError("r.run", "cfs", "m.txt", "no-such-dir/r.run");

        ok("cfs", "m.txt", "good.run", "--steps", "20");
        List<String> good = Files.readAllLines(work.resolve("good.run"), StandardCharsets.UTF_8);
        int diagram = good.indexOf("diagram");
        corrupt("short.run", good.subList(0, good.size() - 1));
        List<String> lost = new ArrayList<>(good);
        lost.set(diagram + 5, lost.get(diagram + 5).replaceFirst("[0-9]", "."));
        corrupt("lost.run", lost);
        List<String> narrow = new ArrayList<>(good);
        narrow.set(diagram + 3, narrow.get(diagram + 3).substring(1));
        corrupt("narrow.run", narrow);
        List<String> denser = new ArrayList<>(good);
        denser.replaceAll(line -> line.startsWith("density=") ? "density=0.900000" : line);
        corrupt("denser.run", denser);
        List<String> headless = new ArrayList<>(good);
        headless.removeIf(line -> line.startsWith("flow="));
        Files.write(work.resolve("headless.run"), headless, StandardCharsets.UTF_8);
        Commands.Result ls = commands.run("ls");
        check(ls.exitCode() == 1, "ls fails when a run file cannot be read");
        check(ls.err().contains("headless.run"), "ls names the run file it cannot read");
        check(ls.outLines().stream().anyMatch(line -> line.startsWith("good.run ")), "ls still lists the good runs");
        noTrace(ls);
        fileError("nowhere", "ls", "nowhere");
    }

    // Names outside ASCII, for files, directories and messages.
    private void unicode() throws Exception {
        String modelName = "Straße 東京 🚗.model";
        String runName = "Lauf é 🚦.run";
        simulate(model(modelName, "--length", "40", "--vehicles", "8"), runName, "--steps", "30");
        check(ok("ls").outLines().stream().anyMatch(line -> line.startsWith(runName + " ")), "ls shows " + runName);
        Path folder = Files.createDirectory(work.resolve("Ordner ü"));
        Files.copy(work.resolve(runName), folder.resolve(runName));
        check(ok("ls", "Ordner ü").outLines().size() == 1, "ls lists a directory with a non-ASCII name");
        check(ok("animation", runName, "--frames", "2", "--delay", "0").outLines().size() == 4, "animation replays " + runName);
        check(ok("zep", runName).out().contains(runName), "the lane view names " + runName);
        fileError("fehlt ä.model", "cfs", "fehlt ä.model", "x.run");
    }

    private Commands.Result ok(String word, String... args) throws IOException, InterruptedException {
        Commands.Result result = commands.run(word, args);
        check(result.exitCode() == 0, word + " succeeds");
        check(result.err().isEmpty(), word + " writes nothing to standard error");
        return result;
    }

    private String model(String file, String... options) throws IOException, InterruptedException {
        String[] args = Stream.concat(Stream.of(file), Stream.of(options)).toArray(String[]::new);
        ok("createmodel", args);
        return file;
    }

    /** Runs cfs and checks the run against the rules and against what cfs printed. */
    private RunText simulate(String model, String run, String... options) throws IOException, InterruptedException {
        String[] args = Stream.concat(Stream.of(model, run), Stream.of(options)).toArray(String[]::new);
        String printed = ok("cfs", args).out();
        RunText text = new RunText(work.resolve(run));
        text.checkLaws();
        double density = (double) text.integer("vehicles") / text.integer("length");
        check(Math.abs(text.decimal("density") - density) <= 5e-7, run + ": density is vehicles / length");
        double flow = text.decimal("flow");
        check(flow >= 0 && flow <= 1, run + ": at most one vehicle per step passes a point, flow " + flow);
        check(Math.abs(flow - text.recountedFlow()) <= 5e-7,
                run + ": flow " + flow + " is what the diagram shows, " + text.recountedFlow());
        check(Math.abs(text.decimal("mean-speed") - text.recountedMeanSpeed()) <= 5e-7, run + ": mean speed is what the diagram shows");
        check(printed.contains(text.header.get("flow")) && printed.contains(text.header.get("density")),
                "cfs prints the flow and density it wrote");
        return text;
    }

    private void usageError(String word, String... args) throws IOException, InterruptedException {
        Commands.Result result = commands.run(word, args);
        String what = word + " " + String.join(" ", args);
        check(result.exitCode() == 2, what + ": exit code 2 for a wrong command line");
        check(result.err().startsWith("zep " + word + ": ") && result.err().contains("(usage: zep " + word),
                what + ": the message names the command and its usage");
        check(result.err().strip().lines().count() == 1, what + ": one line of message");
        noTrace(result);
    }

    private void fileError(String file, String word, String... args) throws IOException, InterruptedException {
        Commands.Result result = commands.run(word, args);
        String what = word + " " + String.join(" ", args);
        check(result.exitCode() == 1, what + ": exit code 1 for a file that cannot be used");
        check(result.err().contains(file), what + ": the message names " + file);
        check(result.err().strip().lines().count() == 1, what + ": one line of message");
        noTrace(result);
    }

    private void corrupt(String name, List<String> lines) throws IOException, InterruptedException {
        Files.write(work.resolve(name), lines, StandardCharsets.UTF_8);
        fileError(name, "animation", name, "--delay", "0");
    }

    private static void noTrace(Commands.Result result) {
        check(!result.err().contains("Exception") && !result.err().contains("\tat "),
                "no stack trace for a user's mistake");
    }

    private static void deleteTree(Path root) throws IOException {
        if (!Files.exists(root)) return;
        try (Stream<Path> paths = Files.walk(root)) {
            for (Path path : paths.sorted(Comparator.reverseOrder()).toList()) Files.delete(path);
        }
    }
}
