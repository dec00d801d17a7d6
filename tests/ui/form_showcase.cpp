// A form holding every spin edit of the dialogs and one of each other control of the toolkit, shown
// for a look and a screenshot:  tools/wine-run build/windows/bin/form_showcase.exe [SECONDS]
// (it closes itself after SECONDS, default 30; at 144 DPI run it in a prefix whose LogPixels is
// 144).
#include <windows.h>

#include <cwchar>
#include <string>

#include "app/application.h"
#include "controls/spin_edit.h"
#include "platform/codec.h"
#include "ui/dialog_controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace mirovane {
namespace {

ui::FontSpec ShowcaseFont() {
  ui::FontSpec font;
  font.pixelHeight96 = 15;
  return font;
}

class ShowcaseForm : public ui::Form {
 public:
  explicit ShowcaseForm(UINT seconds)
      : Form(ui::FormSetup{"コントロール見本", 600, 430, ui::FormFrame::SystemMenu, ShowcaseFont(),
                           2}),
        close_(*this, seconds * 1000, true) {
    close_.onTimer = [this] { SetModalResult(2); };
  }

 protected:
  void CreateControls() override {
    static const char* const kLabels[] = {
        "縦表示位置", "ウィンドウ境界幅", "隠蔽持続時間", "表示更新周期", "アラームチェック",
        "表示月数",   "文字サイズ",       "不透明度",     "分",           "遅延"};
    Add(grpSpins, {8, 6, 290, 300}, " スピンエディット ");
    for (int i = 0; i < 10; ++i) {
      Add(labels[i], {20, 30 + 27 * i, 120, 18}, kLabels[i]);
      spins[i].Apply(kAllSpinSetups[static_cast<std::size_t>(i)]);
      Add(spins[i],
          {150, 27 + 27 * i, 30 + 8 * kAllSpinSetups[static_cast<std::size_t>(i)].maxLength, 21});
    }
    Add(grpOther, {306, 6, 286, 300}, " その他 ");
    Add(chkBox, {318, 28, 260, 20}, "チェックボックス(&K)");
    Add(optA, {318, 52, 120, 20}, "右側(&R)", ui::kGroupStart);
    Add(optB, {446, 52, 120, 20}, "左側(&L)");
    Add(lblEdit, {318, 80, 60, 18}, "名前(&N)");
    Add(edtText, {386, 77, 194, 22});
    cmbList.SetItems({Utf8ToCp932("下段"), Utf8ToCp932("上段"), Utf8ToCp932("中段")});
    Add(cmbList, {318, 106, 120, 22});
    cmbFree.editable = true;
    cmbFree.SetItems({"yyyy/mm/dd'('aaa')'", "hh:nn:ss"});
    Add(cmbFree, {446, 106, 134, 22});
    Add(tabs, {318, 136, 262, 76});
    AddPage(tabs, page1, " 表示・動作 ");
    AddPage(tabs, page2, " カレンダー ");
    Add(chkOnPage, {8, 10, 200, 20}, "今日の日付を赤枠で囲む", ui::kNoFlags, &page1);
    Add(dtpDate, {318, 220, 170, 22});
    dtpTime.timeOnly = true;
    Add(dtpTime, {496, 220, 84, 22});
    Add(lstList, {318, 250, 262, 48});
    Add(btnOk, {318, 390, 130, 28}, "設定保存(&S)", ui::kDefault);
    Add(btnCancel, {458, 390, 130, 28}, "キャンセル(&C)", ui::kCancel);
    Add(lblNote, {8, 316, 584, 64},
        "数値は矢印・上下キー・ホイールで増減します。無効な欄は灰色で表示されます。");
    lblNote.wordWrap = true;
  }

  void FormCreate() override {
    dtpDate.SetFormat("yyyy'年'M'月'd'日（'ddd'）'");
    dtpTime.SetFormat("HH'時'mm'分'");
    chkBox.SetChecked(true);
    optA.SetChecked(true);
    edtText.SetText(Utf8ToCp932("会議の資料"));
    cmbList.SetItemIndex(1);
    cmbFree.SetText("yyyy/mm/dd'('aaa')'");
    spins[0].SetValue(-32768);
    spins[7].SetValue(200);
    spins[7].SetEnabled(false);
    lstList.SetItems({{Utf8ToCp932("2024/05/06 12:30  Inf$会議\\n資料"), true},
                      {"xxxx/xx/xx 001" + Utf8ToCp932("分") + "* Msg:", false}});
    ui::FontSpec fixed;
    fixed.face = Utf8ToWide("ＭＳ ゴシック");
    fixed.pixelHeight96 = 13;
    SetControlFont(lstList, fixed);
    btnOk.onClick = [this] { SetModalResult(1); };
    btnCancel.onClick = [this] { SetModalResult(2); };
  }

 private:
  ui::Timer close_;
  ui::GroupBox grpSpins, grpOther;
  ui::StaticText labels[10];
  TSpinEditEx spins[10];
  ui::CheckBox chkBox, chkOnPage;
  ui::RadioButton optA, optB;
  ui::StaticText lblEdit, lblNote;
  ui::Edit edtText;
  ui::ComboBox cmbList, cmbFree;
  ui::TabControl tabs;
  ui::TabPage page1, page2;
  ui::DateTimePicker dtpDate, dtpTime;
  ui::CheckList lstList;
  ui::Button btnOk, btnCancel;
};

}  // namespace
}  // namespace mirovane

int wmain(int argc, wchar_t** argv) {
  mirovane::InitCommonControlsForProgram();
  const UINT seconds = argc > 1 ? static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10)) : 30;
  mirovane::ShowcaseForm form(seconds ? seconds : 30);
  return form.ShowModal(nullptr);
}
