// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/scrambling_tool.h"

#include "core/exam/question_bank.h"
#include "core/storage/data_path.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/screen_panel.h"
#include "gui/kit/ui_font.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <optional>

namespace velmora {
namespace {

constexpr QColor teal(0x00, 0x80, 0x80);

QFont toolFont(int pixelHeight, bool bold) {
    return pixelFont(QStringLiteral("MS Sans Serif"), pixelHeight, bold);
}

template <typename Widget> Widget* place(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setFont(toolFont(16, true));
    return widget;
}

// The source file box opens the file chooser on a left click, and from the keyboard on Enter or F4
// (the key that opens a drop-down box).
bool opensChooser(const QEvent& event) {
    if (event.type() == QEvent::MouseButtonRelease) {
        return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
    }
    if (event.type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F4;
    }
    return false;
}

} // namespace

ScramblingTool::ScramblingTool(QWidget* parent, ControlsBuilt built)
    : DeferredControls(parent, Qt::Dialog | Qt::FramelessWindowHint),
      chooser_(std::make_unique<FileDialogSourceChooser>()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Шифрование тестовых вопросов"));
    setFont(toolFont(11, false));
    setFixedSize(611, 256);
    startBuilding(built);
}

ScramblingTool::~ScramblingTool() = default;

void ScramblingTool::buildDeferredControls() {
    buildLayout();
    showRecord();
}

void ScramblingTool::buildLayout() {
    auto* panel = new ScreenPanel(QStringLiteral("Panel1"), teal, false, this);
    panel->setGeometry(0, 0, 609, 249);

    edit9_ = place<QLineEdit>(panel, "Edit9", {10, 6, 583, 28});
    edit9_->setText(QStringLiteral("Введите название теста (Test1-Test10)"));
    edit9_->setAccessibleName(QStringLiteral("Название теста"));
    edit10_ = place<QLineEdit>(panel, "Edit10", {10, 46, 583, 28});
    edit10_->setText(QStringLiteral("Щелкните здесь мышкой и выберите файл теста"));
    edit10_->installEventFilter(this);
    edit10_->setAccessibleName(QStringLiteral("Файл теста"));
    edit10_->setAccessibleDescription(QStringLiteral("Enter или F4 — выбрать файл"));
    button1_ = place<QPushButton>(panel, "Button1", {8, 156, 185, 53});
    button1_->setText(QStringLiteral("Зашифровать"));
    label1_ = place<QLabel>(panel, "Label1", {210, 170, 150, 20});
    label1_->setText(QStringLiteral("Номера вопросов"));
    button2_ = place<QPushButton>(panel, "Button2", {382, 154, 123, 47});
    button2_->setText(QStringLiteral("Выход"));
    for (QPushButton* button : {button1_, button2_}) {
        button->setAutoDefault(false); // Enter in a box converts nothing by accident
    }
    for (int i = 0; i < int(record_.size()); ++i) {
        record_[i] = new QLineEdit(panel);
        record_[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        record_[i]->hide();
    }
    connect(button1_, &QPushButton::clicked, this, &ScramblingTool::scramble);
    connect(button2_, &QPushButton::clicked, this, &ScramblingTool::exitTool);
}

void ScramblingTool::setChooser(std::unique_ptr<SourceFileChooser> chooser) {
    chooser_ = std::move(chooser);
}

void ScramblingTool::showRecord() {
    const QuestionRecord& r = converter_.record();
    record_[0]->setText(r.text);
    for (int i = 0; i < int(r.answers.size()); ++i) {
        record_[i + 1]->setText(r.answers[i]);
    }
    record_[6]->setText(r.position);
    record_[7]->setText(r.number);
}

void ScramblingTool::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    rememberFolderAndCentre();
}

void ScramblingTool::done(int result) {
    restoreFolder();
    QDialog::done(result);
}

bool ScramblingTool::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit10_ && opensChooser(*event)) {
        chooseSourceFile();
        return event->type() == QEvent::KeyPress;
    }
    return QDialog::eventFilter(watched, event);
}

void ScramblingTool::rememberFolderAndCentre() {
    guarded(this, [&] {
        savedfolder_ = QDir::currentPath();
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    });
}

void ScramblingTool::restoreFolder() {
    guarded(this, [&] {
        if (!savedfolder_.isEmpty() && QDir::currentPath() != savedfolder_) {
            QDir::setCurrent(savedfolder_);
        }
    });
}

void ScramblingTool::chooseSourceFile() {
    guarded(this, [&] {
        if (const auto path = chooser_->choose(this)) {
            edit10_->setText(*path);
        }
    });
}

void ScramblingTool::scramble() {
    guarded(this, [&] {
        const QString source = openPath(edit10_->text());
        const QString output = QuestionSourceConverter::outputBeside(source, edit9_->text());
        // A question bank of another system is converted as a source is, its warnings first;
        // one of which nothing can be imported writes nothing.
        const auto format = QuestionBank::formatOfFile(source);
        std::optional<QuestionBank> bank;
        if (format) {
            bank = QuestionBank::readFile(source, *format);
            if (bank->imported() == 0) {
                MessageBoxes::warning(this, bank->warnings().join(QLatin1Char('\n')));
                MessageBoxes::error(this, QuestionBank::nothingImported(source));
                return;
            }
        }
        const ConversionResult result =
            bank ? bank->build(converter_, output) : converter_.convert(source, output);
        showRecord();
        label1_->setText(QuestionSourceConverter::progressText(result.questions));
        if (!result.warnings.isEmpty()) {
            MessageBoxes::warning(this, result.warnings.join(QLatin1Char('\n')));
        }
        MessageBoxes::information(this, QStringLiteral("Создание тестов успешно завершено."));
    });
}

void ScramblingTool::exitTool() {
    guarded(this, [&] { close(); });
}

} // namespace velmora
