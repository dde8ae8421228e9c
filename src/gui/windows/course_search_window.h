// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

namespace velmora {

class CourseSearch;

// The window "Поиск по курсу": a query box and the documents that match it, best first, each with
// its title and the text around the match, the matched words in bold. Only the documents the user
// could open right now are listed. Enter or a double click on a result opens it; Escape closes the
// window. Its handlers run through the handler guard.
class CourseSearchWindow : public QWidget {
    Q_OBJECT
public:
    // `openable` gives the paths of the documents the user could open now.
    CourseSearchWindow(CourseSearch* search, std::function<QSet<QString>()> openable,
                       QWidget* parent = nullptr);

    QLineEdit* queryBox() const { return query_; }
    QListWidget* results() const { return results_; }
    QLabel* status() const { return status_; }

    // Runs the query again: the index or what the user may open has changed.
    void refresh();
    // Brings the window up with the query box focused; an index that could not be opened before
    // is tried again.
    void showInFront();

Q_SIGNALS:
    // A result was chosen: the document at `path`, and the first matched word in it.
    void openWanted(const QString& path, const QString& word);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void listHits();
    void showStatus();
    void openCurrent();

    CourseSearch* search_;
    std::function<QSet<QString>()> openable_;
    QLineEdit* query_;
    QListWidget* results_;
    QLabel* status_;
    QTimer* typing_;
};

} // namespace velmora
