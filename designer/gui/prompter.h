// The designer's answers to the engine's questions: message boxes, and the
// system beep. Tests replace the answers through a scripted hook.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "engine/report.h"

class QWidget;

namespace zor2::gui {

class CMessageBoxPrompter final : public IPrompter {
  public:
    explicit CMessageBoxPrompter(QWidget* parent) : m_parent(parent) {}
    EAnswer Ask(std::string_view question, EButtons buttons) override;
    void Tell(std::string_view message) override;
    void Warn(std::string_view message) override;
    void Beep() override;

    /// When set, questions are answered by the hook instead of a message box
    /// and notices are only recorded (headless runs and tests).
    std::function<EAnswer(const QString&)> m_answerHook;
    int m_beeps = 0;
    QStringList m_asked;
    QStringList m_told;

  private:
    QWidget* m_parent;
};

}  // namespace zor2::gui
