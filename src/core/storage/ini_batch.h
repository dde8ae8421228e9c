// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

namespace velmora {

// Many INI writes gathered and applied to a file's text in one pass. The result is byte for byte
// what IniText::setValue gives when called for every gathered write in the order given, but the
// cost grows with the size of the text only once, not once per write: sections are edited one by
// one, and sections that are not written stay as they were.
class IniBatch {
public:
    void setValue(QByteArrayView section, QByteArrayView key, const QByteArray& value);
    void applyTo(QByteArray& text) const;
    bool isEmpty() const { return sections_.isEmpty(); }

private:
    struct Key {
        QByteArray folded;
        QByteArray name;
        QByteArray value;
    };
    struct Section {
        QByteArray name;
        QList<Key> keys;
    };

    void writeSection(QByteArray& text, const Section& section) const;

    QList<Section> sections_;            // in the order of their first write
    QHash<QByteArray, qsizetype> index_; // folded name -> position in sections_
};

} // namespace velmora
