package com.quorvane.gridmere.traffic.classic.model;

import java.util.*;

/**
 * A single-lane ring road of {@code length} cells and {@code vehicles}
 * vehicles under the Nagel-Schreckenberg rules: speeds from 0 to {@code vmax}
 * cells per step and a random slowdown with probability {@code slowdown}.
 * The random numbers come from {@code seed} alone, so a model always gives
 * the same run. The bounds are checked where models are created or read.
 */
public record RoadModel(int length, int vehicles, int vmax, double slowdown, int seed) {

    public static final int MAX_LENGTH = 10_000;
    /** A diagram shows each speed as one digit. */
    public static final int MAX_VMAX = 9;
    public static final int MAX_STEPS = 100_000;
    /** Bounds both the time a run takes and the memory its diagram needs. */
    public static final long MAX_CELL_STEPS = 20_000_000;
    public static final RoadModel DEFAULT = new RoadModel(100, 20, 5, 0.25, 1);
    public static final int DEFAULT_WARMUP = 100;
    public static final int DEFAULT_STEPS = 200;

    /**
     * A simulated run. Diagram line i is the road after recorded step i: '.' for an empty
     * cell, else the vehicle's speed. Flow: vehicles per step passing from the last cell to 0.
     */
    public record Run(RoadModel model, int warmup, int steps, double flow, double meanSpeed, List<String> diagram) {

        /** The simulated step that diagram line i shows, warm-up included. */
        public int step(int i) {
            return warmup + i + 1;
        }

        public double meanSpeed(int i) {
            int sum = diagram.get(i).chars().filter(c -> c != '.').map(c -> c - '0').sum();
            return model.vehicles == 0 ? 0 : (double) sum / model.vehicles;
        }
    }

    public double density() {
        return (double) vehicles / length;
    }

    public void checkRunSize(int warmup, int steps) {
        long cellSteps = (long) (warmup + steps) * length;
        if (cellSteps > MAX_CELL_STEPS) {
            throw new IllegalArgumentException("(warmup + steps) x length may be at most " + MAX_CELL_STEPS
                    + ", not " + cellSteps);
        }
    }

    public Run simulate(int warmup, int steps) {
        Random random = new Random(seed);
        // Distinct random cells: the first places of a Fisher-Yates shuffle.
        int[] cells = new int[length];
        for (int i = 0; i < length; i++) cells[i] = i;
        for (int i = 0; i < vehicles; i++) {
            int j = i + random.nextInt(length - i);
            int cell = cells[j];
            cells[j] = cells[i];
            cells[i] = cell;
        }
        // Nobody overtakes, so in ring order the vehicle ahead of i is always i + 1.
        int[] position = Arrays.copyOf(cells, vehicles);
        Arrays.sort(position);
        int[] speed = new int[vehicles];
        List<String> diagram = new ArrayList<>(steps);
        long passed = 0;
        long speedSum = 0;
        for (int t = 0; t < warmup + steps; t++) {
            // Every vehicle decides from the positions at the start of the step.
            for (int i = 0; i < vehicles; i++) {
                // A lone vehicle sees its own tail: length - 1 free cells.
                int gap = Math.floorMod(position[(i + 1) % vehicles] - position[i] - 1, length);
                int v = Math.min(Math.min(speed[i] + 1, vmax), gap);
                // One draw per vehicle and step, slowing or not, so that the
                // run stays a function of the model alone.
                if (random.nextDouble() < slowdown && v > 0) v--;
                speed[i] = v;
            }
            for (int i = 0; i < vehicles; i++) {
                position[i] += speed[i];
                if (position[i] >= length) {
                    position[i] -= length;
                    if (t >= warmup) passed++;
                }
            }
            if (t < warmup) continue;
            char[] line = new char[length];
            Arrays.fill(line, '.');
            for (int i = 0; i < vehicles; i++) {
                line[position[i]] = (char) ('0' + speed[i]);
                speedSum += speed[i];
            }
            diagram.add(new String(line));
        }
        double meanSpeed = vehicles == 0 ? 0 : (double) speedSum / ((long) vehicles * steps);
        return new Run(this, warmup, steps, (double) passed / steps, meanSpeed, List.copyOf(diagram));
    }
}
