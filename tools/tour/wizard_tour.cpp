#include "tools/tour/wizard_tour.h"

#include "app/ui/resource.h"

namespace tour {
namespace {

// Wine's first start of a prefix, and a slow machine's update, take a while.
constexpr int kStartMs = 60000;
constexpr int kPageMs = 20000;
constexpr int kUpdateMs = 180000;

class Walk {
 public:
  Walk(WizardDriver& driver, const std::function<void(const std::wstring&)>& say)
      : d_(driver), say_(say) {}

  TourReport Run() {
    if (!WaitFor([this] { return d_.HasMessageBox() || d_.Sheet() != nullptr; }, kStartMs)) {
      return Lose(L"the wizard's window");
    }
    if (d_.HasMessageBox()) return Stop();
    if (!Reach(IDC_AGREE)) return Lose(L"the license page");
    Picture(L"license");
    d_.Click(IDC_AGREE);
    if (!d_.ButtonsAre(false, true)) return Lose(L"Next after agreeing");
    d_.Press(kNext);

    if (!Reach(IDC_DRIVE_TREE)) return Lose(L"the drive page");
    if (!d_.AnyTicked(IDC_DRIVE_TREE)) {
      Picture(L"drives");
      say_(L"no drive of this machine needs the update");
      d_.Press(kCancel);
      AnswerBoxes();
      return {Outcome::NothingToDo, L"no drive needs the update"};
    }
    if (!d_.ButtonsAre(true, true)) return Lose(L"Next on the drive page");
    Picture(L"drives");
    d_.Press(kNext);

    if (!WaitFor([this] { return d_.HasMessageBox() || d_.ShowsPageWith(IDC_UPDATE); }, kPageMs)) {
      return Lose(L"the warning page");
    }
    if (d_.HasMessageBox()) return Stop();
    Picture(L"warning");
    d_.Click(IDC_UPDATE);
    if (!d_.ButtonsAre(true, true)) return Lose(L"Next on the warning page");
    d_.Press(kNext);

    if (!WaitFor([this] { return d_.HasMessageBox() || d_.ShowsPageWith(IDC_LOG); }, kPageMs)) {
      return Lose(L"the progress page");
    }
    if (d_.HasMessageBox()) return Stop();
    return Update();
  }

 private:
  TourReport Update() {
    // The bar on its way, when the update is slow enough to be seen so.
    WaitFor([this] {
      const int at = d_.ProgressPosition(IDC_PROGRESS);
      return (at > 0 && at < 100) || Ended();
    }, kPageMs);
    Picture(L"progress");
    if (!WaitFor([this] { return Ended(); }, kUpdateMs)) return Lose(L"the end of the update");
    if (d_.Text(IDC_LOG).find(L"UPDATE DONE") == std::wstring::npos) {
      Picture(L"failed");
      say_(L"the update failed; the progress page says why");
      d_.Press(kCancel);
      AnswerBoxes();
      return {Outcome::UpdateFailed, d_.Text(IDC_LOG)};
    }
    const bool finish = WaitFor([this] {
      const HWND button = ::GetDlgItem(d_.Sheet(), kFinish);
      return ::IsWindowVisible(button) && ::IsWindowEnabled(button);
    }, kPageMs);
    if (!finish) return Lose(L"Finish after the update");
    Picture(L"done");
    d_.Press(kFinish);
    AnswerBoxes();
    return {Outcome::Updated, L"the update is done"};
  }

  bool Ended() {
    const std::wstring log = d_.Text(IDC_LOG);
    return log.find(L"UPDATE DONE") != std::wstring::npos ||
           log.find(L"UPDATE FAILED") != std::wstring::npos;
  }

  bool Reach(int id) {
    return WaitFor([&] { return d_.ShowsPageWith(id); }, kPageMs);
  }

  // A message box instead of the next page: the wizard has said no, or
  // asks before it goes on, which a restart ends.
  TourReport Stop() {
    const std::wstring first = d_.MessageBoxText();
    AnswerBoxes();
    if (d_.Sheet() != nullptr) d_.EndWizard();
    return {Outcome::Stopped, first};
  }

  // Every message box that comes within a moment, each pictured, told and
  // answered with its first choice.
  void AnswerBoxes() {
    while (WaitFor([this] { return d_.HasMessageBox(); }, 3000)) {
      const std::wstring text = d_.MessageBoxText();
      Picture(L"message");
      say_(L"the wizard says: " + text);
      d_.Answer(d_.MessageBoxButtons() == static_cast<UINT>(MB_YESNO) ? IDYES : IDOK);
    }
  }

  void Picture(const std::wstring& page) {
    const std::wstring name = std::to_wstring(++pictures_) + L"-" + page;
    say_(d_.Screenshot(name) ? L"picture " + name + L".png" : L"no picture of " + page);
  }

  TourReport Lose(const std::wstring& what) {
    d_.EndWizard();
    return {Outcome::Lost, what + L" did not come"};
  }

  WizardDriver& d_;
  const std::function<void(const std::wstring&)>& say_;
  int pictures_ = 0;
};

}  // namespace

TourReport WalkWizard(WizardDriver& driver, const std::function<void(const std::wstring&)>& say) {
  return Walk(driver, say).Run();
}

}  // namespace tour
