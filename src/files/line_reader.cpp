#include "line_reader.h"

namespace kelpra {

QByteArray LineReader::readTextLine()
{
    if (atEnd())
        return {};
    qsizetype end = bytes_.indexOf('\n', pos_);
    qsizetype next = end + 1;
    if (end < 0) {
        end = bytes_.size();
        next = end;
    }
    qsizetype valueEnd = end;
    if (valueEnd > pos_ && end < bytes_.size() && bytes_.at(valueEnd - 1) == '\r')
        --valueEnd;
    QByteArray line = bytes_.mid(pos_, valueEnd - pos_);
    pos_ = next;
    return line;
}

bool LineReader::readRecordLine(QByteArray *line)
{
    if (atEnd())
        return false;
    const qsizetype end = bytes_.indexOf("\r\n", pos_);
    if (end < 0) {
        *line = bytes_.mid(pos_);
        pos_ = bytes_.size();
    } else {
        *line = bytes_.mid(pos_, end - pos_);
        pos_ = end + 2;
    }
    return true;
}

} // namespace kelpra
