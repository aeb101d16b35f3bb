#pragma once

#include <QByteArray>

namespace kelpra {

// Walks through the bytes of a line-structured 8-bit file. Text lines and record lines
// are read from the same cursor, as the files interleave them.
class LineReader {
public:
    explicit LineReader(const QByteArray &bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }

    // A text line: up to its line end, which is not part of the value. CR LF ends a line;
    // so does a lone LF, as an editor may have written the file. A line the file no
    // longer holds reads as empty text.
    QByteArray readTextLine();

    // A record line: every byte up to the first CR LF pair, which is consumed but not
    // returned. A lone CR, a lone LF and zero bytes are ordinary record bytes. Returns
    // false when the file holds no further byte; a last line without CR LF is returned
    // as it stands.
    bool readRecordLine(QByteArray *line);

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

} // namespace kelpra
