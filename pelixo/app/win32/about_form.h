// The about box: banner, product name, version, build, the legal line and
// the rights notice, from the program's own version resource and the text
// table. Created once at program start, shown modally from the main
// window's system menu.
#ifndef PELIXO_APP_WIN32_ABOUT_FORM_H_
#define PELIXO_APP_WIN32_ABOUT_FORM_H_

#include <string>

#include "pelixo/app/user_texts.h"
#include "pelixo/app/win32/form.h"

namespace pelixo::window {

class TAboutForm : public TForm {
 public:
  TAboutForm(TApplication& application, const TUserTexts& texts)
      : TForm(application), texts_(texts) {}
  ~TAboutForm() override;

  // The creation step: builds the box (hidden, owned by `owner`) and fills
  // it from the version resource of `program_file`.
  bool Create(HWND owner, const std::string& program_file);

 protected:
  void ControlsCreated() override;
  bool OnCommand(int id, int code) override;
  void FocusFirstControl() override;

 private:
  const TUserTexts& texts_;
  HBITMAP banner_ = nullptr;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_ABOUT_FORM_H_
