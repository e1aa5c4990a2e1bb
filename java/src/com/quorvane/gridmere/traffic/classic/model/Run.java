package com.quorvane.gridmere.traffic.classic.model;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/** A simulated run: its model, its space-time diagram and what it measured. */
public final class Run {

    public static final int DEFAULT_WARMUP = 100;
    public static final int DEFAULT_STEPS = 200;
    public static final int MAX_STEPS = 100_000;
    public static final int MAX_WARMUP = 100_000;
    /** Bounds both the time a run takes and the memory its diagram needs. */
    public static final long MAX_CELL_STEPS = 20_000_000;

    private final RoadModel model;
    private final RunSummary summary;
    private final List<byte[]> diagram;

    public Run(RoadModel model, RunSummary summary, List<byte[]> diagram) {
        if (diagram.size() != summary.steps()) {
            throw new IllegalArgumentException("the diagram has " + diagram.size() + " lines for "
                    + summary.steps() + " steps");
        }
        this.model = model;
        this.summary = summary;
        this.diagram = Collections.unmodifiableList(new ArrayList<>(diagram));
    }

    /** Why a run of this size would be refused, or null if it is fine. */
    public static String sizeProblem(RoadModel model, int warmup, int steps) {
        if (steps < 1 || steps > MAX_STEPS) return "steps must be from 1 to " + MAX_STEPS + ", not " + steps;
        if (warmup < 0 || warmup > MAX_WARMUP) return "warmup must be from 0 to " + MAX_WARMUP + ", not " + warmup;
        long cellSteps = (long) (warmup + steps) * model.length();
        if (cellSteps > MAX_CELL_STEPS) {
            return "(warmup + steps) x length may be at most " + MAX_CELL_STEPS + ", not " + cellSteps;
        }
        return null;
    }

    public static Run simulate(RoadModel model, int warmup, int steps) {
        String problem = sizeProblem(model, warmup, steps);
        if (problem != null) throw new IllegalArgumentException(problem);
        RingRoad road = new RingRoad(model);
        for (int i = 0; i < warmup; i++) road.step();
        List<byte[]> diagram = new ArrayList<>(steps);
        long passed = 0;
        long speedSum = 0;
        for (int i = 0; i < steps; i++) {
            road.step();
            passed += road.passedInLastStep();
            speedSum += road.speedSum();
            byte[] row = new byte[model.length()];
            road.render(row);
            diagram.add(row);
        }
        double meanSpeed = model.vehicles() == 0 ? 0 : (double) speedSum / ((long) model.vehicles() * steps);
        RunSummary summary = new RunSummary(warmup, steps, model.density(), (double) passed / steps, meanSpeed);
        return new Run(model, summary, diagram);
    }

    public RoadModel model() {
        return model;
    }

    public RunSummary summary() {
        return summary;
    }

    public int steps() {
        return diagram.size();
    }

    /** Line i of the space-time diagram: the road after recorded step i, from 0. */
    public String rowText(int i) {
        return new String(diagram.get(i), StandardCharsets.US_ASCII);
    }

    /** The speed in a cell of row i, or -1 for an empty cell. */
    public int speedAt(int i, int cell) {
        byte c = diagram.get(i)[cell];
        return c == '.' ? -1 : c - '0';
    }
}
