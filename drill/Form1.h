// The program's one window: the title, selection, question, marking and
// result screens, the keys that drive them, the loading of the question
// library and the drill itself. The services it uses are handed in.
#pragma once

#include "drill/Layout.h"
#include "drill/QuestionLibrary.h"

#include <QWidget>

#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;

namespace numbrelle {

class Beeper;
class ClickLabel;
class Clock;
class DisplaySettings;
class FileSystem;
class ProgressBar;
class MarkingScreen;
class QuestionScript;
class QuestionScreen;
class RandomSource;
class UpDown;

class Form1 final : public QWidget {
    Q_OBJECT
public:
    Form1(QuestionScript& script, Clock& clock, Beeper& beeper, FileSystem& files, RandomSource& random,
        DisplaySettings& display, QWidget* parent = nullptr);
    ~Form1() override;

    // The drill state.
    std::int16_t QuestionCount() const { return m_QuestionCount; }
    std::int32_t QuestionNo() const { return m_QuestionNo; }
    std::int32_t CorrectCount() const { return m_CorrectCount; }

    bool isLoading() const { return m_loading; }

    // Makes and shows one question.
    void MakeQu();
    // Draws the latest run's DrawingList on WpictObj.
    void WPictObject();
    // Looks for the 640 x 480 x 16 display mode and switches to the first one.
    void ScreenSetting();
    void SetFull(int modeNumber);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildTitleScreen();
    void buildSelectionScreen();
    void buildResultScreen();
    QFrame* makePanel(const char* name);

    void handleKey(int key);
    void titleStart();
    void loadLibrary();
    void addNewCategories();
    void categorySelected(int row);
    void questionTypeSelected(int row);
    void numberTextChanged(const QString& text);
    void spin(TextView text);
    void drillStart();
    void submit();
    void next();
    void makeResultSheet();
    void closeResult();
    void abort();
    void backToSelection();

    QuestionScript& m_script;
    Clock& m_clock;
    Beeper& m_beeper;
    FileSystem& m_files;
    DisplaySettings& m_display;

    QuestionLibrary m_library;
    std::int16_t m_QuestionCount = 10;
    // Wider than the count so that the step past 32767 questions still fits.
    std::int32_t m_QuestionNo = 0;
    std::int32_t m_CorrectCount = 0;
    float m_StartTime = 0;
    bool m_loading = false;
    bool m_loaded = false;
    bool m_closed = false;
    bool m_screenChosen = false;

    QFrame* m_frame1;
    QuestionScreen* m_frame2;
    MarkingScreen* m_frame3;
    QFrame* m_frame4;
    QListWidget* m_list1;
    QListWidget* m_list2;
    QLineEdit* m_text2;
    UpDown* m_upDown1;
    ProgressBar* m_picture1;
    QLabel* m_label[19] {};
};

} // namespace numbrelle
