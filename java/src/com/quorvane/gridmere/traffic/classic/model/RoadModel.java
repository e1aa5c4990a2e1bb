package com.quorvane.gridmere.traffic.classic.model;

/**
 * A single-lane ring road of {@code length} cells with {@code vehicles}
 * vehicles that follow the Nagel-Schreckenberg rules: speeds from 0 to
 * {@code vmax} cells per step, and a random slowdown with probability
 * {@code slowdown}. The {@code seed} makes every run of a model the same.
 */
public record RoadModel(int length, int vehicles, int vmax, double slowdown, long seed) {

    public static final int MAX_LENGTH = 10_000;
    /** A space-time diagram shows each speed as one digit. */
    public static final int MAX_VMAX = 9;

    public static final int DEFAULT_LENGTH = 100;
    public static final double DEFAULT_DENSITY = 0.2;
    public static final int DEFAULT_VMAX = 5;
    public static final double DEFAULT_SLOWDOWN = 0.25;
    public static final long DEFAULT_SEED = 1;

    public RoadModel {
        require(length >= 1 && length <= MAX_LENGTH,
                "length must be from 1 to " + MAX_LENGTH + ", not " + length);
        require(vehicles >= 0 && vehicles <= length,
                "vehicles must be from 0 to the length (" + length + "), not " + vehicles);
        require(vmax >= 0 && vmax <= MAX_VMAX, "vmax must be from 0 to " + MAX_VMAX + ", not " + vmax);
        require(slowdown >= 0 && slowdown <= 1, "slowdown must be from 0 to 1, not " + slowdown);
    }

    public static RoadModel defaults() {
        return new RoadModel(DEFAULT_LENGTH, vehiclesFor(DEFAULT_DENSITY, DEFAULT_LENGTH),
                DEFAULT_VMAX, DEFAULT_SLOWDOWN, DEFAULT_SEED);
    }

    /** The whole number of vehicles nearest to a density on a road of a length. */
    public static int vehiclesFor(double density, int length) {
        return (int) Math.round(density * length);
    }

    /** Vehicles per cell. */
    public double density() {
        return (double) vehicles / length;
    }

    private static void require(boolean condition, String problem) {
        if (!condition) throw new IllegalArgumentException(problem);
    }
}
