package com.quorvane.gridmere.traffic.classic.model;

import java.util.Arrays;
import java.util.Random;

/**
 * The state of a road model as it evolves, one step at a time. All vehicles
 * update in parallel from the positions at the start of the step.
 */
public final class RingRoad {

    private final RoadModel model;
    private final Random random;
    // Vehicles in their order round the ring. Nobody overtakes, so the order
    // never changes and the next vehicle ahead of i is always i + 1.
    private final int[] position;
    private final int[] speed;
    private int passed;

    public RingRoad(RoadModel model) {
        this.model = model;
        this.random = new Random(model.seed());
        int length = model.length();
        int[] cells = new int[length];
        for (int i = 0; i < length; i++) cells[i] = i;
        // Only the first `vehicles` places of a Fisher-Yates shuffle are needed.
        for (int i = 0; i < model.vehicles(); i++) {
            int j = i + random.nextInt(length - i);
            int cell = cells[j];
            cells[j] = cells[i];
            cells[i] = cell;
        }
        position = Arrays.copyOf(cells, model.vehicles());
        Arrays.sort(position);
        speed = new int[position.length];
    }

    public RoadModel model() {
        return model;
    }

    public void step() {
        int count = position.length;
        int length = model.length();
        for (int i = 0; i < count; i++) {
            int ahead = position[(i + 1) % count];
            // A lone vehicle sees its own tail: length - 1 free cells.
            int gap = Math.floorMod(ahead - position[i] - 1, length);
            int v = Math.min(speed[i] + 1, model.vmax());
            v = Math.min(v, gap);
            // One draw per vehicle and step, slowing or not, keeps the random
            // sequence, and so the run, a function of the model alone.
            boolean dawdle = random.nextDouble() < model.slowdown();
            if (dawdle && v > 0) v--;
            speed[i] = v;
        }
        passed = 0;
        for (int i = 0; i < count; i++) {
            int x = position[i] + speed[i];
            if (x >= length) {
                x -= length;
                passed++;
            }
            position[i] = x;
        }
    }

    /**
     * Vehicles that passed, in the last step, the point between the last cell
     * and cell 0. At most one can: a follower stops short of its leader's old cell.
     */
    public int passedInLastStep() {
        return passed;
    }

    public int speedSum() {
        int sum = 0;
        for (int v : speed) sum += v;
        return sum;
    }

    /** Writes the road as diagram characters: '.' for an empty cell, else the speed digit. */
    public void render(byte[] row) {
        Arrays.fill(row, (byte) '.');
        for (int i = 0; i < position.length; i++) row[position[i]] = (byte) ('0' + speed[i]);
    }
}
