// Message-box prompter.
#include "designer/gui/prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace zor2::gui {
namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

EAnswer CMessageBoxPrompter::Ask(std::string_view question, EButtons buttons) {
    const QString text = Text(question);
    m_asked << text;
    if (m_answerHook) return m_answerHook(text);
    QMessageBox::StandardButtons b = QMessageBox::Yes | QMessageBox::No;
    switch (buttons) {
        case EButtons::Ok:
            b = QMessageBox::Ok;
            break;
        case EButtons::YesNo:
            b = QMessageBox::Yes | QMessageBox::No;
            break;
        case EButtons::YesNoCancel:
            b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case EButtons::OkCancel:
            b = QMessageBox::Ok | QMessageBox::Cancel;
            break;
    }
    switch (QMessageBox::question(m_parent, QApplication::applicationName(), text, b)) {
        case QMessageBox::Yes:
            return EAnswer::Yes;
        case QMessageBox::No:
            return EAnswer::No;
        case QMessageBox::Ok:
            return EAnswer::Ok;
        default:
            return EAnswer::Cancel;
    }
}

void CMessageBoxPrompter::Tell(std::string_view message) {
    const QString text = Text(message);
    m_told << text;
    if (m_answerHook) return;
    QMessageBox::information(m_parent, QApplication::applicationName(), text);
}

void CMessageBoxPrompter::Warn(std::string_view message) {
    const QString text = Text(message);
    m_told << text;
    if (m_answerHook) return;
    QMessageBox::warning(m_parent, QApplication::applicationName(), text);
}

void CMessageBoxPrompter::Beep() {
    ++m_beeps;
    QApplication::beep();
}

}  // namespace zor2::gui
