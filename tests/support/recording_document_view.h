// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <QStringList>
#include <QWidget>
#include <optional>

namespace velmora::test {

// A document view that shows nothing and records what it is asked to do.
class RecordingDocumentView : public QWidget, public DocumentView {
    Q_OBJECT
public:
    explicit RecordingDocumentView(QWidget* parent) : QWidget(parent) {}

    QWidget* widget() override { return this; }
    void navigate(const QString& location) override;
    void back() override { ++backs; }
    void forward() override { ++forwards; }

    // The views the factory below made, newest last.
    static RecordingDocumentView* last();
    static DocumentViewFactory factory();

    QStringList navigations;
    int backs = 0;
    int forwards = 0;
    // When set, navigate refuses with a Failure of this text.
    std::optional<QString> refusal;
};

} // namespace velmora::test
