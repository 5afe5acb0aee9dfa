#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class UrlOpener;

// The application title shown by the About window (and the main window's caption).
QString applicationTitle();

// The executable's file version ("1.9.1.8"), compiled in from the project version.
QString GetFileVersionText();

// The About window: title, version, support contacts with a clickable e-mail link.
class TAboutF : public QDialog {
    Q_OBJECT
public:
    explicit TAboutF(UrlOpener& urls, QWidget* parent = nullptr);

    static QString supportEmail();
    static QString webSite();
    // The subject of a letter to the support address.
    static QString mailSubject();

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* ApplicationName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Label_Internet = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label_Email = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button_Close = nullptr;

    void FormCreate();
    void FormActivate();
    void Label4Click();
    void Label8Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UrlOpener& m_urls;
    bool m_placed = false;
};
