package zeptest.demo;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;

/**
 * A run file read on its own terms, not with the demo's reader, and the laws
 * that every Nagel-Schreckenberg run obeys, checked line against line.
 */
final class RunText {

    final Map<String, String> header = new HashMap<>();
    final List<String> rows = new ArrayList<>();

    RunText(Path file) throws IOException {
        List<String> lines = Files.readAllLines(file, StandardCharsets.UTF_8);
        DemoChecks.check(!lines.isEmpty() && lines.get(0).equals("format=gridmere-run 1"), file + " starts as a run file");
        int i = 1;
        for (; i < lines.size() && !lines.get(i).equals("diagram"); i++) {
            String line = lines.get(i);
            if (line.isEmpty() || line.startsWith("#")) continue;
            int equals = line.indexOf('=');
            DemoChecks.check(equals > 0, file + " line " + (i + 1) + " is key=value");
            header.put(line.substring(0, equals), line.substring(equals + 1));
        }
        DemoChecks.check(i < lines.size(), file + " has a diagram line");
        rows.addAll(lines.subList(i + 1, lines.size()));
    }

    int integer(String key) {
        DemoChecks.check(header.containsKey(key), "the run file has " + key);
        return Integer.parseInt(header.get(key));
    }

    double decimal(String key) {
        DemoChecks.check(header.containsKey(key), "the run file has " + key);
        return Double.parseDouble(header.get(key));
    }

    /** Vehicles per step that passed between the last cell and cell 0, recounted from the diagram. */
    double recountedFlow() {
        long passed = 0;
        for (String row : rows) {
            for (int x = 0; x < row.length(); x++) {
                // A vehicle now at x that drove v cells came from x - v: below 0, it passed.
                if (row.charAt(x) != '.' && x < row.charAt(x) - '0') passed++;
            }
        }
        return (double) passed / rows.size();
    }

    double recountedMeanSpeed() {
        long sum = 0;
        long vehicles = 0;
        for (String row : rows) {
            for (char c : row.toCharArray()) {
                if (c != '.') {
                    sum += c - '0';
                    vehicles++;
                }
            }
        }
        return vehicles == 0 ? 0 : (double) sum / vehicles;
    }

    /**
     * Shape, conservation, and the motion between consecutive lines: every
     * vehicle came from an occupied cell v behind, through cells that were
     * empty, and sped up by at most one.
     */
    void checkLaws() {
        int length = integer("length");
        int vehicles = integer("vehicles");
        int vmax = integer("vmax");
        DemoChecks.check(rows.size() == integer("steps"), "the diagram has one line per step: " + rows.size());
        for (int k = 0; k < rows.size(); k++) {
            String row = rows.get(k);
            DemoChecks.check(row.length() == length, "diagram line " + k + " has " + length + " cells: " + row);
            int count = 0;
            for (char c : row.toCharArray()) {
                DemoChecks.check(c == '.' || (c >= '0' && c <= '0' + vmax), "diagram line " + k + " shows '" + c + "'");
                if (c != '.') count++;
            }
            DemoChecks.check(count == vehicles, "diagram line " + k + " holds " + vehicles + " vehicles, not " + count);
            if (k > 0) checkMotion(rows.get(k - 1), row, k);
        }
    }

    private static void checkMotion(String before, String after, int k) {
        int length = after.length();
        Set<Integer> sources = new HashSet<>();
        for (int x = 0; x < length; x++) {
            if (after.charAt(x) == '.') continue;
            int v = after.charAt(x) - '0';
            int from = Math.floorMod(x - v, length);
            String where = "line " + k + ", vehicle in cell " + x + " at speed " + v;
            DemoChecks.check(before.charAt(from) != '.', where + ": cell " + from + " was empty a step before");
            DemoChecks.check(sources.add(from), where + ": another vehicle came from cell " + from);
            DemoChecks.check(v <= before.charAt(from) - '0' + 1, where + ": sped up by more than 1");
            for (int d = 1; d <= v; d++) {
                DemoChecks.check(before.charAt((from + d) % length) == '.', where + ": drove through a vehicle");
            }
        }
    }
}
