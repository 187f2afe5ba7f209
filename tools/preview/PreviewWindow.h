// The authors' preview: one question file's question screen exactly as the
// drill shows it (the drill's own screens), with the seed, the accepted
// answers, every message box of the run and the layout warnings beside it.
// The file is read and run again whenever it changes on disk, keeping the
// seed; an editor that saves by writing a new file and renaming it over the
// old one is followed too.
#pragma once

#include "tools/preview/PreviewRun.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace numbrelle {

class MarkingScreen;
class QuestionScreen;

namespace preview {

class PreviewWindow final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(const std::string& path, std::uint32_t seed = 1, QWidget* parent = nullptr);

    std::uint32_t seed() const { return m_seed; }
    void showSeed(std::uint32_t seed);
    // Reads the file again and runs the current seed.
    void reload();
    // Marks the typed answer and shows the marking screen.
    void submit();
    void backToQuestion();

    const LoadedFile& file() const { return m_file; }
    QuestionScreen* questionScreen() const { return m_questionScreen; }
    MarkingScreen* markingScreen() const { return m_markingScreen; }
    // The page shown instead of the screens when the file cannot be shown.
    QLabel* problemLabel() const { return m_problem; }
    QListWidget* answerList() const { return m_answers; }
    QListWidget* messageList() const { return m_messages; }
    QListWidget* warningList() const { return m_warnings; }
    bool showsQuestion() const;
    bool showsMarking() const;

signals:
    // The file was read and run again (or found unusable) and is on screen.
    void reloaded();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildSidePanel();
    void fileChangedOnDisk();
    void watch();
    void showRun();
    void showProblem();

    std::string m_path;
    std::uint32_t m_seed;
    LoadedFile m_file;
    PreviewRun m_run;

    QFileSystemWatcher m_watcher;
    // Saves come as bursts of changes (truncate, write, rename); one reload
    // follows the last of them.
    QTimer m_settle;

    QStackedWidget* m_pages;
    QuestionScreen* m_questionScreen;
    MarkingScreen* m_markingScreen;
    QLabel* m_problem;
    QLabel* m_fileLabel;
    QLabel* m_seedLabel;
    QListWidget* m_answers;
    QListWidget* m_messages;
    QListWidget* m_warnings;
};

// How long a burst of changes to the file must be over before it is read.
inline constexpr int settleMilliseconds = 30;

} // namespace preview
} // namespace numbrelle
