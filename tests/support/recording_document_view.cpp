// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_document_view.h"

#include "core/storage/failure.h"

#include <QPointer>

namespace velmora::test {
namespace {

QPointer<RecordingDocumentView>& lastView() {
    static QPointer<RecordingDocumentView> view;
    return view;
}

} // namespace

void RecordingDocumentView::navigate(const QString& location) {
    if (refusal) {
        throw Failure(*refusal);
    }
    navigations.append(location);
}

RecordingDocumentView* RecordingDocumentView::last() {
    return lastView().data();
}

DocumentViewFactory RecordingDocumentView::factory() {
    return [](QWidget* parent) -> DocumentView* {
        auto* view = new RecordingDocumentView(parent);
        lastView() = view;
        return view;
    };
}

} // namespace velmora::test
