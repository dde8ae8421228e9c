// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_document_view.h"

#include "core/storage/failure.h"

#include <QPointer>
#include <QPrinter>
#include <QUrl>

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
    if (listener_ != nullptr) {
        listener_->pageLoaded();
    }
}

void RecordingDocumentView::back() {
    if (refusal) {
        throw Failure(*refusal);
    }
    ++backs;
}

void RecordingDocumentView::forward() {
    if (refusal) {
        throw Failure(*refusal);
    }
    ++forwards;
}

void RecordingDocumentView::find(const QString& text, bool backward, const FindResult& done) {
    highlighted = text;
    const auto total =
        static_cast<int>(text.isEmpty() ? 0 : pageText.count(text, Qt::CaseInsensitive));
    if (text != findText_) {
        findText_ = text;
        active_ = total == 0 ? 0 : (backward ? total : 1);
    } else if (total > 0) {
        active_ = (active_ - 1 + (backward ? total - 1 : 1)) % total + 1;
    }
    done(std::min(active_, total), total);
}

void RecordingDocumentView::print(QPrinter* printer, const std::function<void(bool)>& done) {
    printedTo.append(printer->outputFileName());
    done(true);
}

bool RecordingDocumentView::followLink(const QString& location) {
    if (listener_ != nullptr && !listener_->mayFollow(QUrl::fromLocalFile(location))) {
        return false;
    }
    navigations.append(location);
    if (listener_ != nullptr) {
        listener_->pageLoaded();
    }
    return true;
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
