package com.quorvane.gridmere.traffic.classic.ui.view;

import com.quorvane.gridmere.traffic.classic.model.Run;
import com.quorvane.gridmere.traffic.classic.ui.cli.Frames;
import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.awt.geom.Arc2D;
import java.awt.geom.Ellipse2D;
import java.awt.geom.Line2D;
import java.util.Locale;
import javax.swing.JComponent;
import javax.swing.JFrame;
import javax.swing.Timer;
import javax.swing.WindowConstants;

/**
 * The ring road in a window, replayed one step per tick, vehicles coloured
 * from red (standing) to green (at vmax). The window closes itself shortly
 * after the last step; all of it runs on the event thread.
 */
final class LaneViewWindow {

    private static final int LONGEST_REPLAY_MS = 20_000;
    private static final int LINGER_MS = 1_500;

    private final Run run;
    private final JFrame frame;
    private final Ring ring;
    private final Timer ticker;
    private final Timer closer;
    private int row;

    private LaneViewWindow(Run run, String title) {
        this.run = run;
        ring = new Ring();
        frame = new JFrame("Gridmere lane view - " + title);
        frame.setDefaultCloseOperation(WindowConstants.DISPOSE_ON_CLOSE);
        frame.add(ring);
        frame.pack();
        frame.setLocationByPlatform(true);
        int tick = Math.max(10, Math.min(60, LONGEST_REPLAY_MS / run.steps()));
        ticker = new Timer(tick, event -> advance());
        closer = new Timer(LINGER_MS, event -> frame.dispose());
        closer.setRepeats(false);
        frame.addWindowListener(new WindowAdapter() {
            @Override
            public void windowClosed(WindowEvent event) {
                // The timers would keep waking a window that is gone.
                ticker.stop();
                closer.stop();
            }
        });
    }

    static void open(Run run, String title) {
        LaneViewWindow window = new LaneViewWindow(run, title);
        window.frame.setVisible(true);
        window.ticker.start();
    }

    private void advance() {
        if (row + 1 < run.steps()) {
            row++;
            ring.repaint();
        } else {
            ticker.stop();
            closer.start();
        }
    }

    @SuppressWarnings("serial") // never serialized; Swing components merely allow it
    private final class Ring extends JComponent {

        Ring() {
            setPreferredSize(new Dimension(560, 600));
        }

        @Override
        protected void paintComponent(Graphics graphics) {
            Graphics2D g = (Graphics2D) graphics.create();
            try {
                g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
                g.setColor(Color.WHITE);
                g.fillRect(0, 0, getWidth(), getHeight());
                paintRoad(g);
                paintText(g);
            } finally {
                g.dispose();
            }
        }

        private void paintRoad(Graphics2D g) {
            int length = run.model().length();
            double radius = Math.min(getWidth(), getHeight() - 60) / 2.0 - 30;
            if (radius < 10) return;
            double cx = getWidth() / 2.0;
            double cy = (getHeight() - 60) / 2.0;
            float lane = (float) Math.max(6, Math.min(28, radius / 8));
            g.setStroke(new BasicStroke(lane + 6));
            g.setColor(Color.LIGHT_GRAY);
            g.draw(new Ellipse2D.Double(cx - radius, cy - radius, 2 * radius, 2 * radius));
            // Where the flow is counted: between the last cell and cell 0, at the top.
            g.setStroke(new BasicStroke(2));
            g.setColor(Color.DARK_GRAY);
            g.draw(new Line2D.Double(cx, cy - radius - lane, cx, cy - radius + lane));
            double cell = 360.0 / length;
            // Cells fill the ring clockwise from the top; tiny ones are drawn wider to stay visible.
            double extent = Math.max(cell * 0.8, 1.2);
            g.setStroke(new BasicStroke(lane, BasicStroke.CAP_BUTT, BasicStroke.JOIN_MITER));
            for (int i = 0; i < length; i++) {
                int v = run.speedAt(row, i);
                if (v < 0) continue;
                g.setColor(speedColour(v));
                double start = 90 - (i + 0.1) * cell;
                g.draw(new Arc2D.Double(cx - radius, cy - radius, 2 * radius, 2 * radius, start, -extent, Arc2D.OPEN));
            }
        }

        private void paintText(Graphics2D g) {
            g.setColor(Color.BLACK);
            int y = getHeight() - 38;
            g.drawString(String.format(Locale.ROOT, "step %d   density %.3f   mean speed %.2f   flow of the run %.3f",
                    Frames.step(run, row), run.summary().density(), Frames.meanSpeed(run, row),
                    run.summary().flow()), 12, y);
            int x = 12;
            y += 18;
            g.drawString("speed", x, y);
            x += 48;
            for (int v = 0; v <= run.model().vmax(); v++) {
                g.setColor(speedColour(v));
                g.fillRect(x, y - 11, 14, 14);
                g.setColor(Color.BLACK);
                g.drawString(Integer.toString(v), x + 18, y);
                x += 38;
            }
        }

        private Color speedColour(int v) {
            int vmax = run.model().vmax();
            float hue = vmax == 0 ? 0f : (float) v / vmax / 3f;
            return Color.getHSBColor(hue, 0.85f, 0.85f);
        }
    }
}
