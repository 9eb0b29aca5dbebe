// CdlgLoadDataWizard: the window of the "Load Data Wizard" — five steps in one
// dialog over the headless wizard, with the file preview grid.
#pragma once

#include <QDialog>
#include <string>

#include "designer/load_data_wizard.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace zor2::gui {

class CdlgLoadDataWizard : public QDialog {
    Q_OBJECT
  public:
    CdlgLoadDataWizard(CLoadDataWizard& wizard, QWidget* parent = nullptr);

    /// The Browse button after its file dialog (an empty path is a cancelled dialog).
    void BrowseTo(const QString& path);
    void ClickNext();
    void ClickBack();
    void ClickFinish();
    QPushButton* BackButton() const { return m_back; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* FinishButton() const { return m_finish; }
    QTableWidget* PreviewGrid() const { return m_grid; }
    QString Heading() const;

  private:
    void Show();

    CLoadDataWizard& m_wizard;
    QLabel* m_heading = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_summary = nullptr;
    QLineEdit* m_file = nullptr;
    QStackedWidget* m_pages = nullptr;
    QTableWidget* m_grid = nullptr;
    QRadioButton* m_headerYes = nullptr;
    QRadioButton* m_headerNo = nullptr;
    QRadioButton* m_headerNames = nullptr;
    QRadioButton* m_headerIds = nullptr;
    QRadioButton* m_first[3] = {};
    QRadioButton* m_secondNames = nullptr;
    QRadioButton* m_secondValues = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
};

/// Runs the wizard as the data file chooser of a component's dialog: the path
/// of the file chosen when it ends with Finish, else empty.
std::string ChooseWithLoadDataWizard(QWidget* parent);

}  // namespace zor2::gui
