package com.quorvane.gridmere.traffic.classic.ui.x;

import com.quorvane.gridmere.traffic.classic.model.RoadModel.Run;
import java.awt.*;
import java.awt.event.*;
import java.awt.geom.*;
import java.time.Instant;
import java.util.Locale;
import javax.swing.*;

/**
 * The ring road in a window, replayed a step per tick, vehicles coloured from
 * red (standing) to green (at vmax). The window closes itself shortly after
 * the last step. All of it runs on the event thread.
 */
@SuppressWarnings("serial") // never serialized; Swing components merely allow it
final class LaneViewWindow extends JComponent {

    private final Run run;
    private int line;
    private int lingered;
    // Run once, after the first paint, when the program is to end as soon as its window is shown.
    private Runnable afterFirstPaint;

    private LaneViewWindow(Run run) {
        this.run = run;
        setPreferredSize(new Dimension(560, 600));
    }

    static void open(Run run, String title) {
        LaneViewWindow view = new LaneViewWindow(run);
        JFrame frame = new JFrame("Gridmere lane view - " + title);
        frame.setDefaultCloseOperation(WindowConstants.DISPOSE_ON_CLOSE);
        frame.add(view);
        frame.pack();
        frame.setResizable(false);
        frame.setLocationByPlatform(true);
        // The whole run in at most 20 s, then 1.5 s to see how it ended.
        int tick = Math.max(10, Math.min(60, 20_000 / run.steps()));
        Timer timer = new Timer(tick, event -> {
            if (view.line + 1 < run.steps()) {
                view.line++;
                view.repaint();
            } else if (++view.lingered * tick >= 1_500) {
                frame.dispose();
            }
        });
        frame.addWindowListener(new WindowAdapter() {
            @Override
            public void windowClosed(WindowEvent event) {
                // A running timer would keep the event thread, and so the program, alive.
                timer.stop();
            }
        });
        if (Boolean.getBoolean("gridmere.exitWhenShown")) {
            exitWhenShown(view);
        }
        frame.setVisible(true);
        timer.start();
    }

    /**
     * For start-up measurements: once the first picture of the window has
     * reached the display server, prints the time (microseconds since the
     * epoch) and ends the program.
     */
    private static void exitWhenShown(LaneViewWindow view) {
        // Set before the window is shown, so that its first paint draws into a window asked to appear.
        view.afterFirstPaint = () -> {
            // Waits until the server has drawn what was sent, not merely queued it.
            Toolkit.getDefaultToolkit().sync();
            Instant now = Instant.now();
            System.out.println("window shown at " + (now.getEpochSecond() * 1_000_000 + now.getNano() / 1_000)
                    + " us since the epoch");
            System.exit(0);
        };
    }

    @Override
    protected void paintComponent(Graphics graphics) {
        Graphics2D g = (Graphics2D) graphics.create();
        g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
        g.setColor(Color.WHITE);
        g.fillRect(0, 0, getWidth(), getHeight());
        Ellipse2D ring = new Ellipse2D.Double(40, 40, 480, 480);
        g.setStroke(new BasicStroke(34));
        g.setColor(Color.LIGHT_GRAY);
        g.draw(ring);
        g.setStroke(new BasicStroke(28, BasicStroke.CAP_BUTT, BasicStroke.JOIN_MITER));
        String cells = run.diagram().get(line);
        double cell = 360.0 / cells.length();
        int vmax = run.model().vmax();
        for (int i = 0; i < cells.length(); i++) {
            if (cells.charAt(i) == '.') continue;
            g.setColor(Color.getHSBColor(vmax == 0 ? 0 : (cells.charAt(i) - '0') / (3f * vmax), 0.85f, 0.85f));
            // Clockwise from the top, where the flow is counted; tiny cells drawn wider to stay visible.
            g.draw(new Arc2D.Double(ring.getBounds2D(), 90 - (i + 0.1) * cell, -Math.max(cell * 0.8, 1.2), Arc2D.OPEN));
        }
        g.setColor(Color.BLACK);
        g.drawString(String.format(Locale.ROOT, "step %d   mean speed %.2f   flow of the run %.3f",
                run.step(line), run.meanSpeed(line), run.flow()), 20, 585);
        g.dispose();
        if (afterFirstPaint != null) {
            // Later, so that Swing has copied its buffer to the window first.
            SwingUtilities.invokeLater(afterFirstPaint);
            afterFirstPaint = null;
        }
    }
}
