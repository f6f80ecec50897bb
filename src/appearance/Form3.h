#pragma once

#include "appearance/Appearance.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

class Form2;
class QComboBox;
class QFrame;
class QLabel;
class QScrollBar;
class SettingsStore;

// The small dialog that chooses how the strip's letters look. The strip reads the controls
// directly at every rendering; the dialog marks it for re-rendering after each change and
// applies the opacity and saves everything only when the user closes it. Closing only hides it.
class Form3 : public QDialog, public AppearanceSource
{
    Q_OBJECT

public:
    // Opens the colour chooser on a colour; an invalid colour means the user cancelled.
    using ColourChooser = std::function<QColor(const QColor& initial, QWidget* parent)>;
    // Tells the user about an error and waits for OK.
    using ErrorNotice = std::function<void(const QString& text, const QString& title, QWidget* parent)>;

    // Created hidden; its own load (the font list) has run when the constructor returns.
    explicit Form3(SettingsStore& store, QWidget* parent = nullptr);

    // The strip to mark, to give the opacity to and to set the font on. Until then the
    // handlers change only the dialog.
    void setOverlay(Form2* overlay) { m_overlay = overlay; }
    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }
    void setErrorNotice(ErrorNotice notice) { m_notifyError = std::move(notice); }

    // AppearanceSource: what the controls show right now.
    Appearance appearance() const override;

    // Start-up hands over the stored values: swatches, opacity, markers, the shadow sizes,
    // the font name, then the shadow selection (which marks the strip when it changes).
    void applyStored(const Appearance& stored);
    // Shows the dialog centred on the screen and brings it forward.
    void showCentred();

    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    void Picture1_MouseDown(int index, Qt::MouseButton button);
    void Label2_MouseDown(int index);
    // The close box: applies the opacity, hides, then saves.
    void Form_Unload();

public slots:
    // Escape closes the dialog the same way as the close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void markForRendering();
    QColor swatchColour(int index) const;
    void setSwatchColour(int index, const QColor& colour);

    SettingsStore& m_store;
    Form2* m_overlay = nullptr;
    ColourChooser m_chooseColour;
    ErrorNotice m_notifyError;

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    std::array<QLabel*, 6> Label1{};
    std::array<QFrame*, 4> Picture1{};
    std::array<QLabel*, 4> Label2{};
};
