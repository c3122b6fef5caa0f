// The license agreement page: the agreement's rich text, and Next only
// after "I agree".
#pragma once

#include "app/ui/win/property_page.h"
#include "base/memory_file.h"

namespace ui {

class CLicenseDlg final : public CPropertyPage {
 public:
  CLicenseDlg();
  ~CLicenseDlg() override;

  base::CMemFile rtfBuffer{1024};

 protected:
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  bool OnCommand(WORD id, WORD code) override;

 private:
  bool firstActivation = true;
};

// The page the stream callback reads through; set while one exists.
extern CLicenseDlg* licenseDlg;

}  // namespace ui
