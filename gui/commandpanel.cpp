// The command line panel.
#include "gui/commandpanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTextStream>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/frontend.h"
#include "host/ed/editor.h"

namespace vorn::gui {
namespace {

constexpr int kTranscriptLines = 5000;  // older lines scroll away for good
constexpr int kHistoryLines = 500;

// Space answers like Enter except where a text is typed (TEXT's contents, a file name).
bool SpaceIsEnter() {
    switch (vorn::ed::CurrentInput().kind) {
        case vorn::ed::InputKind::kValue:
        case vorn::ed::InputKind::kNone:
            return false;
        default:
            return true;
    }
}

// The keyword's letters to type: the capitals of "Arc" or the letters in brackets.
QString KeywordLabel(const std::wstring& keyword) { return QString::fromStdWString(keyword); }

}  // namespace

CommandLineEdit::CommandLineEdit(CommandPanel* panel, QWidget* parent) : QLineEdit(parent), m_panel(panel) {}

void CommandLineEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_panel->submit();
            return;
        case Qt::Key_Escape:
            m_panel->cancel();
            return;
        case Qt::Key_Up:
            m_panel->recall(-1);
            return;
        case Qt::Key_Down:
            m_panel->recall(+1);
            return;
        case Qt::Key_Space:
            if (SpaceIsEnter()) {
                m_panel->submit();
                return;
            }
            break;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

CommandPanel::CommandPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_transcript = new QPlainTextEdit(this);
    m_transcript->setObjectName(QStringLiteral("transcript"));
    m_transcript->setReadOnly(true);
    m_transcript->setMaximumBlockCount(kTranscriptLines);
    m_transcript->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_transcript, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    row->addWidget(m_prompt);
    m_keywords = new QWidget(this);
    m_keywordLayout = new QHBoxLayout(m_keywords);
    m_keywordLayout->setContentsMargins(0, 0, 0, 0);
    m_keywordLayout->setSpacing(2);
    row->addWidget(m_keywords);
    m_input = new CommandLineEdit(this, this);
    m_input->setObjectName(QStringLiteral("input"));
    row->addWidget(m_input, 1);
    layout->addLayout(row);
}

QLineEdit* CommandPanel::input() const { return m_input; }

QString CommandPanel::promptText() const { return m_prompt->text(); }

void CommandPanel::appendTranscript(const std::string& utf8) {
    // The transcript hands over whole characters: each piece is a complete UTF-8 text.
    m_partial += QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size()));
    const int nl = m_partial.lastIndexOf(QLatin1Char('\n'));
    if (nl >= 0) {
        QString lines = m_partial.left(nl);
        m_partial = m_partial.mid(nl + 1);
        QScrollBar* bar = m_transcript->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        m_transcript->appendPlainText(lines);
        if (atEnd) bar->setValue(bar->maximum());
    }
    m_prompt->setText(m_partial);
}

void CommandPanel::refresh() {
    QStringList words;
    for (const std::wstring& k : vorn::ed::CurrentInput().keywords) words << KeywordLabel(k);
    if (words == m_shownKeywords) return;
    m_shownKeywords = words;
    while (QLayoutItem* item = m_keywordLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const QString& word : words) {
        auto* button = new QToolButton(m_keywords);
        button->setText(word);
        button->setObjectName(QStringLiteral("keyword-") + word);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [word] { FrontEnd::instance().postLine(word.toStdWString()); });
        m_keywordLayout->addWidget(button);
    }
}

void CommandPanel::takeKey(QKeyEvent* event) {
    m_input->setFocus(Qt::OtherFocusReason);
    // Keys the line edit must see as typed there (Enter, Space, arrows, letters).
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(m_input, &copy);
}

void CommandPanel::submit() {
    const QString line = m_input->text();
    m_input->clear();
    m_historyPos = static_cast<int>(m_history.size());
    if (line.trimmed().isEmpty()) {
        FrontEnd::instance().postEnter();
        return;
    }
    remember(line);
    FrontEnd::instance().postLine(line.toStdWString());
}

void CommandPanel::cancel() {
    m_input->clear();
    FrontEnd::instance().postCancel();
}

void CommandPanel::recall(int step) {
    if (m_history.isEmpty()) return;
    m_historyPos = std::clamp(m_historyPos + step, 0, static_cast<int>(m_history.size()));
    m_input->setText(m_historyPos < m_history.size() ? m_history[m_historyPos] : QString());
}

void CommandPanel::setHistoryFile(const QString& path) {
    m_historyFile = path;
    m_history.clear();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (!line.isEmpty()) m_history << line;
        }
    }
    while (m_history.size() > kHistoryLines) m_history.removeFirst();
    m_historyPos = static_cast<int>(m_history.size());
}

void CommandPanel::remember(const QString& line) {
    if (m_history.isEmpty() || m_history.back() != line) m_history << line;
    while (m_history.size() > kHistoryLines) m_history.removeFirst();
    m_historyPos = static_cast<int>(m_history.size());
    if (m_historyFile.isEmpty()) return;
    // Written whole each time, beside the settings; a failure costs only the history.
    QDir().mkpath(QFileInfo(m_historyFile).absolutePath());
    QFile file(m_historyFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) return;
    QTextStream out(&file);
    for (const QString& l : m_history) out << l << '\n';
}

}  // namespace vorn::gui
