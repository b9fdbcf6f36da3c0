#pragma once

#include <QShowEvent>

// A window whose load step runs once, when it is first shown (not when it is made), so that the
// steps see the window as the user will: its settings directory set, its dialogs' data filled.
template <typename tWindow>
class tLoadsWhenFirstShown : public tWindow {
  public:
    using tWindow::tWindow;

  protected:
    virtual void LoadWhenFirstShown() = 0;
    bool WasShown() const { return bShown; }

    void showEvent(QShowEvent* pEvent) override {
        tWindow::showEvent(pEvent);
        if (!bShown) {
            bShown = true;
            LoadWhenFirstShown();
        }
    }

  private:
    bool bShown = false;
};
