#include "app/ui/pages/license_dlg.h"

#include <richedit.h>

#include "app/ui/pages/rtf_resource.h"
#include "app/ui/resource.h"

namespace ui {

CLicenseDlg* licenseDlg = nullptr;

namespace {

constexpr UINT kHeaderTitle = 101;
constexpr UINT kHeaderSubtitle = 102;

DWORD CALLBACK StreamLicense(DWORD_PTR, LPBYTE destination, LONG count, LONG* delivered) {
  return ReadForStream(licenseDlg->rtfBuffer, destination, count, delivered);
}

}  // namespace

CLicenseDlg::CLicenseDlg() : CPropertyPage(IDD_LICENSE) {
  SetHeaderTexts(kHeaderTitle, kHeaderSubtitle);
  licenseDlg = this;
}

CLicenseDlg::~CLicenseDlg() {
  if (licenseDlg == this) licenseDlg = nullptr;
}

BOOL CLicenseDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  ::SendMessageW(Item(IDC_LICENSE_TEXT), EM_AUTOURLDETECT, TRUE, 0);
  LoadRtfResource(rtfBuffer, IDR_LICENSE_RTF);
  StreamRtfIn(Item(IDC_LICENSE_TEXT), StreamLicense);
  return TRUE;
}

BOOL CLicenseDlg::OnSetActive() {
  if (firstActivation) {
    SetWizardButtons(0);
    CheckButton(IDC_AGREE, false);
    CheckButton(IDC_DISAGREE, true);
    Focus(IDC_DISAGREE);
    firstActivation = false;
  } else {
    CheckButton(IDC_AGREE, true);
    Focus(IDC_AGREE);
    SetWizardButtons(PSWIZB_NEXT);
  }
  return CPropertyPage::OnSetActive();
}

bool CLicenseDlg::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_AGREE) {
    SetWizardButtons(PSWIZB_NEXT);
    return true;
  }
  if (id == IDC_DISAGREE) {
    SetWizardButtons(0);
    return true;
  }
  return false;
}

}  // namespace ui
