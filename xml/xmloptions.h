#pragma once
// The reader's three process-wide options. Like the rest of the reader they are plain values:
// set them and parse on one thread at a time.

struct XmlOptions {
    bool convertWideFiles = true;  // UTF-16 files are converted before parsing; a UTF-8 BOM is skipped
    bool utf8Mode = true;          // text is UTF-8 (else the locale's 8-bit code page, one byte a character)
    bool dropWhitespace = true;    // texts are trimmed; whitespace-only texts are not stored
};

// Sets all three options and selects the matching character-length table.
void setXmlOptions(bool convertWideFiles, bool utf8Mode, bool dropWhitespace);

// The options in force.
XmlOptions xmlOptions();
