// The command line panel: the transcript, the current prompt with its keywords to click, and
// the input line with its history.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

class QLabel;
class QHBoxLayout;

namespace vorn::gui {

class CommandLineEdit;

class CommandPanel : public QWidget {
    Q_OBJECT

public:
    explicit CommandPanel(QWidget* parent);

    // Text of the transcript as the editor writes it (UTF-8, with its own line ends): whole
    // lines go into the transcript, the unfinished last line is the prompt.
    void appendTranscript(const std::string& utf8);
    // The prompt's keywords from the editor, as buttons.
    void refresh();
    // A key typed elsewhere (the drawing view) that belongs to the input line.
    void takeKey(QKeyEvent* event);
    // Where the typed lines are kept across runs; read now, written as lines are entered.
    void setHistoryFile(const QString& path);

    QLineEdit* input() const;
    QPlainTextEdit* transcript() const { return m_transcript; }
    QString promptText() const;
    const QStringList& history() const { return m_history; }

    // What the input line does with Enter, Space, Esc and the arrows.
    void submit();
    void cancel();
    void recall(int step);  // -1 older, +1 newer

private:
    void remember(const QString& line);

    QPlainTextEdit* m_transcript = nullptr;
    QLabel* m_prompt = nullptr;
    CommandLineEdit* m_input = nullptr;
    QWidget* m_keywords = nullptr;
    QHBoxLayout* m_keywordLayout = nullptr;
    QStringList m_shownKeywords;
    QString m_partial;
    QStringList m_history;
    int m_historyPos = 0;
    QString m_historyFile;
};

// The input line: Enter, Space where it means Enter, Esc and the history keys.
class CommandLineEdit : public QLineEdit {
    Q_OBJECT

public:
    CommandLineEdit(CommandPanel* panel, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CommandPanel* m_panel;
};

}  // namespace vorn::gui
