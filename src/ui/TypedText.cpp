#include "TypedText.h"

#include <QByteArray>
#include <QStringView>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace lexigrove {

std::string TypedText::Read(const QString& text) {
    text_ = text;
    others_.clear();
    const bool ascii = std::all_of(text_.cbegin(), text_.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        const QByteArray latin1 = text_.toLatin1();
        return {latin1.constData(), static_cast<std::size_t>(latin1.size())};
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text_.size()));
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text_);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
        if (end - start == 1 && text_[start].unicode() < 0x80) {
            bytes += static_cast<char>(text_[start].unicode());
        } else {
            bytes += kOther;
            others_.emplace_back(start, end - start);
        }
        start = end;
    }
    return bytes;
}

QString TypedText::Restore(std::string_view bytes) const {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    std::size_t other = 0;
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            text += QLatin1Char(byte);
        } else if (other < others_.size()) {
            const auto [start, length] = others_[other++];
            text += QStringView(text_).mid(start, length);
        } else {
            text += QChar(QChar::ReplacementCharacter);
        }
    }
    return text;
}

}  // namespace lexigrove
