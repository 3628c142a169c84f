#pragma once
// The about box: the program's icon, name and version and the maker's two notices. A click anywhere
// on it closes it.

#include <QDialog>

#include <string>

class QFrame;
class QLabel;

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    // Fills the two notice labels from the maker's company record.
    explicit TAboutForm(QWidget* parent = nullptr);

    // NameLabel := name, VersionLabel := "Version " + version.
    void ShowProgram(const std::string& name, const std::string& version);

    QLabel* Image;
    QLabel* NameLabel;
    QLabel* VersionLabel;
    QLabel* NoticeLabel1;
    QLabel* NoticeLabel2;
    QFrame* Bevel1;
    QFrame* Panel1;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
