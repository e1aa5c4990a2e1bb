package com.quorvane.gridmere.traffic.classic.model;

import java.io.BufferedReader;
import java.io.Closeable;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.nio.file.AccessDeniedException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;

/**
 * Reads a UTF-8 text file line by line, with errors that name the file and
 * line. Lines are bounded, so that a file that is not text at all ends in an
 * error and not in exhausted memory.
 */
public final class TextFileReader implements Closeable {

    public static final int MAX_LINE = 65_536;

    private final Path file;
    private final BufferedReader in;
    private int lineNumber;

    private TextFileReader(Path file, BufferedReader in) {
        this.file = file;
        this.in = in;
    }

    public static TextFileReader open(Path file) throws DataFileException {
        if (Files.isDirectory(file)) throw new DataFileException(file, "is a directory, not a file");
        try {
            var decoder = StandardCharsets.UTF_8.newDecoder()
                    .onMalformedInput(CodingErrorAction.REPORT)
                    .onUnmappableCharacter(CodingErrorAction.REPORT);
            return new TextFileReader(file,
                    new BufferedReader(new InputStreamReader(Files.newInputStream(file), decoder)));
        } catch (NoSuchFileException e) {
            throw new DataFileException(file, "no such file");
        } catch (AccessDeniedException e) {
            throw new DataFileException(file, "permission denied");
        } catch (IOException e) {
            throw new DataFileException(file, "cannot be read (" + e.getMessage() + ")");
        }
    }

    public Path file() {
        return file;
    }

    /** The number of the line last read, from 1. */
    public int lineNumber() {
        return lineNumber;
    }

    /** The next line without its line end, or null at the end of the file. */
    public String readLine() throws DataFileException {
        StringBuilder line = new StringBuilder();
        try {
            int c = in.read();
            if (c < 0) return null;
            lineNumber++;
            while (c >= 0 && c != '\n') {
                if (line.length() == MAX_LINE) throw error("is longer than " + MAX_LINE + " characters");
                line.append((char) c);
                c = in.read();
            }
        } catch (CharacterCodingException e) {
            throw error("is not UTF-8 text");
        } catch (IOException e) {
            throw new DataFileException(file, "cannot be read (" + e.getMessage() + ")");
        }
        int end = line.length();
        if (end > 0 && line.charAt(end - 1) == '\r') line.setLength(end - 1);
        // Some editors open a UTF-8 file with a byte order mark.
        if (lineNumber == 1 && line.length() > 0 && line.charAt(0) == '\uFEFF') line.deleteCharAt(0);
        return line.toString();
    }

    /** An error about the line last read. */
    public DataFileException error(String problem) {
        return new DataFileException(file, "line " + lineNumber + " " + problem);
    }

    @Override
    public void close() {
        try {
            in.close();
        } catch (IOException e) {
            // Nothing was written, so nothing can be lost.
        }
    }
}
