package com.quorvane.gridmere.traffic.classic.model;

import java.io.IOException;
import java.io.Writer;
import java.nio.charset.StandardCharsets;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.concurrent.ThreadLocalRandom;

/** Writes UTF-8 text files so that a failure never leaves a half-written file behind. */
public final class TextFiles {

    /** Writes the text that {@code content} produces. */
    public interface Content {
        void writeTo(Writer out) throws IOException;
    }

    private TextFiles() {
    }

    /**
     * Writes into a new file beside the target and moves it over the target
     * only when complete: the target holds either its old content or the new,
     * whatever goes wrong on the way.
     */
    public static void write(Path target, Content content) throws IOException {
        if (Files.isDirectory(target)) throw new IOException("is a directory");
        Path parent = target.toAbsolutePath().getParent();
        Path part = createPartFile(parent);
        boolean done = false;
        try {
            try (Writer out = Files.newBufferedWriter(part, StandardCharsets.UTF_8)) {
                content.writeTo(out);
            }
            try {
                Files.move(part, target, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
            } catch (AtomicMoveNotSupportedException e) {
                Files.move(part, target, StandardCopyOption.REPLACE_EXISTING);
            }
            done = true;
        } finally {
            if (!done) Files.deleteIfExists(part);
        }
    }

    /** Why an input or output operation failed, in words for a message that already names the file. */
    public static String describe(IOException e) {
        if (e instanceof java.nio.file.NoSuchFileException) return "no such file or directory";
        if (e instanceof java.nio.file.AccessDeniedException) return "permission denied";
        if (e instanceof java.nio.file.FileSystemException f && f.getReason() != null) return f.getReason();
        return e.getMessage() != null ? e.getMessage() : e.getClass().getSimpleName();
    }

    // Not Files.createTempFile: that makes the file private to its owner,
    // and the permissions would carry over to the target.
    private static Path createPartFile(Path directory) throws IOException {
        for (int attempt = 0; ; attempt++) {
            String name = ".zep-" + Long.toHexString(ThreadLocalRandom.current().nextLong()) + ".part";
            try {
                return Files.createFile(directory.resolve(name));
            } catch (FileAlreadyExistsException e) {
                if (attempt == 9) throw e;
            }
        }
    }
}
