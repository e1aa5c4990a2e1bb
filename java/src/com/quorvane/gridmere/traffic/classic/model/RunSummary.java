package com.quorvane.gridmere.traffic.classic.model;

/**
 * What a run measured. {@code flow} counts the vehicles per step that pass
 * the point between the last cell and cell 0; {@code meanSpeed} is in cells
 * per step over all vehicles and recorded steps.
 */
public record RunSummary(int warmup, int steps, double density, double flow, double meanSpeed) {
}
