// The one table of every image the program's pages and dialogs load from
// Picture/<folder>/ beside the executable. The generator draws each row; the
// catalogue test checks that each row exists after the build. A change of
// style is an edit of the drawing code, a new image is a new row.
#pragma once

namespace imagegen {

enum class Shape {
    // glyph icons (transparent, coloured by state and tone)
    Close, Minimise, ArrowLeft, ArrowRight, BackArrow, MenuDown, MenuUp,
    PageSummary, PageButtons, PageSensor, PageMacro, PageLight, PageAdvanced, PageSetting,
    Repair, Usb, Wireless, Offline, Battery, Bolt, Dot, MouseGlyph, Logo,
    KeyPress, KeyRelease, Clock,
    // controls
    Badge, PushButton, ComboField, ComboPopup,
    Tip, CheckBox, Switch, StageCard, StageSwatch, StageMarker, SliderHandle, Plus, Minus,
    // lighting: hue board, preset chip (variant = preset 0..13), empty swatch,
    // receiver picture, LED legend bar (variant = number of colours)
    ColourBoard, ColourChip, EmptySwatch, ReceiverPicture, LegendBar,
    // panels and pages
    NoticePanel, PairPanel, ListPage, DevicePage, SummaryPage,
    // pictures
    DeviceCard, MouseHero, AngleDial, AngleMouse,
};

enum class State { Normal, Hover, Click, Checked };

// Colour family of an image: Neutral icons turn white on hover and accent
// when checked; Accent ones are always lit; Danger, Success and Warn carry
// their signal colour.
enum class Tone { Neutral, Accent, Danger, Success, Warn, Muted };

struct ImageSpec {
    const char *folder;
    const char *name;
    int width;
    int height;
    Shape shape;
    State state;
    Tone tone;
    const char *text;   // badge label; empty otherwise
    int variant;        // picture variant (mouse shape); 0 otherwise
};

inline constexpr ImageSpec kImages[] = {
    // --- main window and device page: Picture/Dialog/ -----------------------
    {"Dialog", "Logo.png", 64, 64, Shape::Logo, State::Normal, Tone::Accent, "", 0},
    {"Dialog", "BackGround.png", 1020, 700, Shape::DevicePage, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "BackGround2.png", 1020, 700, Shape::SummaryPage, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "Pre.png", 30, 30, Shape::PageSummary, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "PreHover.png", 30, 30, Shape::PageSummary, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Home.png", 30, 30, Shape::PageButtons, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "HomeHover.png", 30, 30, Shape::PageButtons, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "HomeChecked.png", 30, 30, Shape::PageButtons, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Sensor.png", 30, 30, Shape::PageSensor, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "SensorHover.png", 30, 30, Shape::PageSensor, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "SensorChecked.png", 30, 30, Shape::PageSensor, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Macro.png", 30, 30, Shape::PageMacro, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "MacroHover.png", 30, 30, Shape::PageMacro, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "MacroChecked.png", 30, 30, Shape::PageMacro, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Light.png", 30, 30, Shape::PageLight, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "LightHover.png", 30, 30, Shape::PageLight, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "LightChecked.png", 30, 30, Shape::PageLight, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Advance.png", 30, 30, Shape::PageAdvanced, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "AdvanceHover.png", 30, 30, Shape::PageAdvanced, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "Setting.png", 30, 30, Shape::PageSetting, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "SettingHover.png", 30, 30, Shape::PageSetting, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "SettingClick.png", 30, 30, Shape::PageSetting, State::Checked, Tone::Neutral, "", 0},
    {"Dialog", "PageChange.png", 34, 30, Shape::BackArrow, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "PageChangeHover.png", 34, 30, Shape::BackArrow, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "PageChangeClick.png", 34, 30, Shape::BackArrow, State::Click, Tone::Neutral, "", 0},
    {"Dialog", "Min.png", 20, 20, Shape::Minimise, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "MinHover.png", 20, 20, Shape::Minimise, State::Hover, Tone::Neutral, "", 0},
    {"Dialog", "MinClick.png", 20, 20, Shape::Minimise, State::Click, Tone::Neutral, "", 0},
    {"Dialog", "Close.png", 20, 20, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"Dialog", "CloseHover.png", 20, 20, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"Dialog", "CloseClick.png", 20, 20, Shape::Close, State::Click, Tone::Danger, "", 0},
    {"Dialog", "Battery.png", 50, 28, Shape::Battery, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "Charg.png", 17, 7, Shape::Bolt, State::Normal, Tone::Neutral, "", 0},
    {"Dialog", "OnLineUsb.png", 32, 32, Shape::Usb, State::Normal, Tone::Accent, "", 0},
    {"Dialog", "OnLineWifi.png", 32, 32, Shape::Wireless, State::Normal, Tone::Accent, "", 0},

    // --- device list page: Picture/DialogChange/ ------------------------------
    {"DialogChange", "MainBack.png", 1020, 700, Shape::ListPage, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "Min.png", 20, 20, Shape::Minimise, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "MinHover.png", 20, 20, Shape::Minimise, State::Hover, Tone::Neutral, "", 0},
    {"DialogChange", "MinClick.png", 20, 20, Shape::Minimise, State::Click, Tone::Neutral, "", 0},
    {"DialogChange", "Close.png", 20, 20, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"DialogChange", "CloseHover.png", 20, 20, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"DialogChange", "CloseClick.png", 20, 20, Shape::Close, State::Click, Tone::Danger, "", 0},
    {"DialogChange", "Repair.png", 36, 33, Shape::Repair, State::Normal, Tone::Warn, "", 0},
    {"DialogChange", "Left.png", 46, 46, Shape::ArrowLeft, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "LeftClick.png", 46, 46, Shape::ArrowLeft, State::Checked, Tone::Neutral, "", 0},
    {"DialogChange", "Right.png", 46, 46, Shape::ArrowRight, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "RightClick.png", 46, 46, Shape::ArrowRight, State::Checked, Tone::Neutral, "", 0},
    {"DialogChange", "ComboboxBack.png", 142, 26, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "ComboboxTextBack.png", 142, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"DialogChange", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"DialogChange", "OnLine0.png", 284, 360, Shape::DeviceCard, State::Checked, Tone::Accent, "", 0},
    {"DialogChange", "OnLine1.png", 284, 360, Shape::DeviceCard, State::Checked, Tone::Accent, "", 1},
    {"DialogChange", "DisOnlin0.png", 284, 360, Shape::DeviceCard, State::Normal, Tone::Muted, "", 0},
    {"DialogChange", "DisOnlin1.png", 284, 360, Shape::DeviceCard, State::Normal, Tone::Muted, "", 1},
    {"DialogChange", "Unknow.png", 284, 360, Shape::DeviceCard, State::Normal, Tone::Neutral, "", 2},
    {"DialogChange", "DisOnline.png", 32, 32, Shape::Offline, State::Normal, Tone::Danger, "", 0},
    {"DialogChange", "OnLineUsb.png", 32, 32, Shape::Usb, State::Normal, Tone::Accent, "", 0},
    {"DialogChange", "OnLineWifi.png", 32, 32, Shape::Wireless, State::Normal, Tone::Accent, "", 0},
    {"DialogChange", "1KHz.png", 42, 26, Shape::Badge, State::Normal, Tone::Muted, "1K", 0},
    {"DialogChange", "2KHz.png", 42, 26, Shape::Badge, State::Normal, Tone::Neutral, "2K", 0},
    {"DialogChange", "4KHz.png", 42, 26, Shape::Badge, State::Normal, Tone::Accent, "4K", 0},
    {"DialogChange", "8KHz.png", 42, 26, Shape::Badge, State::Checked, Tone::Accent, "8K", 0},

    // --- macro page: Picture/Macro/ ------------------------------------------
    {"Macro", "Button.png", 116, 30, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"Macro", "ButtonHover.png", 116, 30, Shape::PushButton, State::Hover, Tone::Accent, "", 0},
    {"Macro", "ButtonClick.png", 116, 30, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"Macro", "Record.png", 190, 32, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"Macro", "RecordHover.png", 190, 32, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"Macro", "Stop.png", 190, 32, Shape::PushButton, State::Normal, Tone::Danger, "", 0},
    {"Macro", "StopHover.png", 190, 32, Shape::PushButton, State::Hover, Tone::Danger, "", 0},
    {"Macro", "CheckBox.png", 18, 18, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "CheckBoxCheck.png", 18, 18, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Macro", "ComboboxBack.png", 181, 30, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "ComboboxTextBack.png", 181, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"Macro", "Up.png", 15, 15, Shape::MenuUp, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "Down.png", 15, 15, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "MacroDown.png", 16, 16, Shape::KeyPress, State::Normal, Tone::Accent, "", 0},
    {"Macro", "MacroUp.png", 16, 16, Shape::KeyRelease, State::Normal, Tone::Neutral, "", 0},
    {"Macro", "MacroTime.png", 16, 16, Shape::Clock, State::Normal, Tone::Warn, "", 0},

    // --- notices, re-pair question, wait dialog: Picture/WarningDialog/ ------
    {"WarningDialog", "BackGround.png", 300, 140, Shape::NoticePanel, State::Normal, Tone::Neutral, "", 0},
    {"WarningDialog", "Close.png", 20, 20, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"WarningDialog", "CloseHover.png", 20, 20, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"WarningDialog", "CloseClick.png", 20, 20, Shape::Close, State::Click, Tone::Danger, "", 0},
    {"WarningDialog", "Confirm.png", 90, 24, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"WarningDialog", "ConfirmClick.png", 90, 24, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"WarningDialog", "ConFirm.png", 90, 24, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"WarningDialog", "ConFirmClick.png", 90, 24, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"WarningDialog", "CheckBox.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"WarningDialog", "CheckBoxCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    // update and repair dialog, progress dialog
    {"WarningDialog", "ok_nr.png", 120, 30, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"WarningDialog", "ok_enter.png", 120, 30, Shape::PushButton, State::Hover, Tone::Accent, "", 0},

    // --- pairing dialog: Picture/Setting/ -------------------------------------
    {"Setting", "BackSecondPage.png", 458, 242, Shape::PairPanel, State::Normal, Tone::Neutral, "", 0},
    {"Setting", "CloseSecondPage.png", 14, 14, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"Setting", "CloseSecondPageHover.png", 14, 14, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"Setting", "CloseSecondPageClick.png", 14, 14, Shape::Close, State::Click, Tone::Danger, "", 0},
    {"Setting", "Pair.png", 154, 32, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"Setting", "PairSuccess.png", 154, 32, Shape::PushButton, State::Checked, Tone::Success, "", 0},
    {"Setting", "PairFail.png", 154, 32, Shape::PushButton, State::Checked, Tone::Danger, "", 0},
    {"Setting", "Picture.png", 24, 24, Shape::MouseGlyph, State::Normal, Tone::Accent, "", 0},

    // --- summary panel (shares the button page's folder) ----------------------
    {"Buttoninterface", "IsData.png", 10, 10, Shape::Dot, State::Normal, Tone::Warn, "", 0},
    {"Buttoninterface", "mouse0.png", 432, 356, Shape::MouseHero, State::Normal, Tone::Accent, "", 0},
    {"Buttoninterface", "CMenuTitle.png", 174, 22, Shape::PushButton, State::Normal, Tone::Muted, "", 0},
    {"Buttoninterface", "CMenuTitleChecked.png", 174, 22, Shape::PushButton, State::Checked, Tone::Accent, "", 0},
    {"Buttoninterface", "AMenuTitle.png", 262, 26, Shape::PushButton, State::Normal, Tone::Muted, "", 0},
    {"Buttoninterface", "AMenuTitleChecked.png", 262, 26, Shape::PushButton, State::Checked, Tone::Accent, "", 0},
    {"Buttoninterface", "BMenuTitle.png", 164, 22, Shape::PushButton, State::Normal, Tone::Muted, "", 0},
    {"Buttoninterface", "BMenuTitleChecked.png", 164, 22, Shape::PushButton, State::Checked, Tone::Accent, "", 0},
    {"Buttoninterface", "BMenuTitleB.png", 164, 22, Shape::PushButton, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "BMenuTitleCheckedB.png", 164, 22, Shape::PushButton, State::Checked, Tone::Accent, "", 0},
    {"Buttoninterface", "LabelNumber.png", 24, 24, Shape::Badge, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "NumberOrigin.png", 38, 38, Shape::Badge, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "NumberHover.png", 38, 38, Shape::Badge, State::Hover, Tone::Neutral, "", 0},
    {"Buttoninterface", "NumberClick.png", 38, 38, Shape::Badge, State::Click, Tone::Accent, "", 0},
    {"Buttoninterface", "Reset.png", 90, 26, Shape::PushButton, State::Normal, Tone::Muted, "", 0},
    {"Buttoninterface", "ResetHover.png", 90, 26, Shape::PushButton, State::Hover, Tone::Accent, "", 0},
    {"Buttoninterface", "ResetClick.png", 90, 26, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"Buttoninterface", "ComboboxBack.png", 128, 24, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "ComboboxTextBack.png", 128, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"Buttoninterface", "CheckBox.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Buttoninterface", "CheckBoxChecked.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Buttoninterface", "Config.png", 20, 14, Shape::Dot, State::Normal, Tone::Accent, "", 0},
    {"Buttoninterface", "TiltleBack.png", 862, 216, Shape::NoticePanel, State::Normal, Tone::Neutral, "", 0},

    // --- sensor page: Picture/Sensor/ -------------------------------------------
    // --- advanced page: Picture/Advanced/ ---------------------------------------
    {"Advanced", "Title.png", 16, 10, Shape::Dot, State::Normal, Tone::Accent, "", 0},
    {"Advanced", "Tips.png", 16, 16, Shape::Tip, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "CheckBox.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "CheckBoxChecked.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Advanced", "CheckBoxa.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "CheckBoxCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Advanced", "LOD.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "LODCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Advanced", "Close.png", 36, 18, Shape::Switch, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "Open.png", 36, 18, Shape::Switch, State::Checked, Tone::Accent, "", 0},
    {"Advanced", "HuaKuai.png", 6, 18, Shape::SliderHandle, State::Normal, Tone::Accent, "", 0},
    {"Advanced", "Level.png", 35, 35, Shape::Badge, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "Back.png", 180, 140, Shape::AngleDial, State::Normal, Tone::Neutral, "", 0},
    {"Advanced", "Component.png", 74, 92, Shape::AngleMouse, State::Normal, Tone::Neutral, "", 0},
    // --- sleep-time box (lighting folder): Picture/Light/ ----------------------
    {"Light", "ComboboxBack.png", 130, 30, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"Light", "ComboboxTextBack.png", 130, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"Light", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"Light", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"Sensor", "Title.png", 16, 10, Shape::Dot, State::Normal, Tone::Accent, "", 0},
    {"Sensor", "Tips.png", 16, 16, Shape::Tip, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "ComboboxBack.png", 130, 30, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "ComboboxTextBack.png", 130, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"Sensor", "CheckBox.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "CheckBoxChecked.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Sensor", "ReportRate.png", 74, 26, Shape::PushButton, State::Normal, Tone::Muted, "", 0},
    {"Sensor", "ReportRateClick.png", 74, 26, Shape::PushButton, State::Click, Tone::Accent, "", 0},
    {"Sensor", "Close.png", 36, 18, Shape::Switch, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "Open.png", 36, 18, Shape::Switch, State::Checked, Tone::Accent, "", 0},
    {"Sensor", "MinA.png", 54, 56, Shape::StageCard, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "MaxA.png", 68, 70, Shape::StageCard, State::Checked, Tone::Accent, "", 0},
    {"Sensor", "MinB.png", 50, 12, Shape::StageSwatch, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "MaxB.png", 66, 14, Shape::StageSwatch, State::Checked, Tone::Accent, "", 0},
    {"Sensor", "Level.png", 30, 30, Shape::StageMarker, State::Normal, Tone::Accent, "", 0},
    {"Sensor", "LevelHover.png", 30, 30, Shape::StageMarker, State::Hover, Tone::Accent, "", 0},
    {"Sensor", "HuaKuai.png", 6, 18, Shape::SliderHandle, State::Normal, Tone::Accent, "", 0},
    {"Sensor", "LOD.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "LODCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Sensor", "Reduce.png", 14, 4, Shape::Minus, State::Normal, Tone::Neutral, "", 0},
    {"Sensor", "Add.png", 14, 14, Shape::Plus, State::Normal, Tone::Neutral, "", 0},

    // --- settings page: Picture/FormSetting/ ----------------------------------
    {"FormSetting", "Title.png", 16, 10, Shape::Dot, State::Normal, Tone::Accent, "", 0},
    {"FormSetting", "PariButton.png", 112, 26, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"FormSetting", "Confirm.png", 128, 26, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"FormSetting", "WaitUpdate.png", 128, 26, Shape::PushButton, State::Normal, Tone::Warn, "", 0},
    {"FormSetting", "WaitUpdateHover.png", 128, 26, Shape::PushButton, State::Hover, Tone::Warn, "", 0},
    {"FormSetting", "Mouse.png", 14, 20, Shape::MouseGlyph, State::Normal, Tone::Accent, "", 0},
    {"FormSetting", "ComboboxBack.png", 142, 30, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "ComboboxTextBack.png", 142, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"FormSetting", "CheckBox.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "CheckBoxChecked.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},

    // --- screen-information dialogs: Picture/ScreeInfo/ -----------------------
    {"ScreeInfo", "Back.png", 638, 318, Shape::NoticePanel, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "Pic.png", 88, 100, Shape::StageCard, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "PicHover.png", 88, 100, Shape::StageCard, State::Checked, Tone::Accent, "", 0},
    {"ScreeInfo", "Button.png", 96, 26, Shape::PushButton, State::Normal, Tone::Accent, "", 0},
    {"ScreeInfo", "ButtonHover.png", 96, 26, Shape::PushButton, State::Hover, Tone::Accent, "", 0},
    {"ScreeInfo", "Close.png", 36, 18, Shape::Switch, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "Open.png", 36, 18, Shape::Switch, State::Checked, Tone::Accent, "", 0},
    {"ScreeInfo", "Slider.png", 6, 18, Shape::SliderHandle, State::Normal, Tone::Accent, "", 0},
    {"ScreeInfo", "CloseButton.png", 20, 20, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"ScreeInfo", "CloseHover.png", 20, 20, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"ScreeInfo", "CloseClick.png", 20, 20, Shape::Close, State::Click, Tone::Danger, "", 0},
    // --- lighting page: Picture/Light/ ---------------------------------------
    {"Light", "Title.png", 16, 10, Shape::Dot, State::Normal, Tone::Accent, "", 0},
    {"Light", "HuaKuai.png", 6, 18, Shape::SliderHandle, State::Normal, Tone::Accent, "", 0},
    {"Light", "Reduce.png", 14, 4, Shape::Minus, State::Normal, Tone::Neutral, "", 0},
    {"Light", "Add.png", 14, 14, Shape::Plus, State::Normal, Tone::Neutral, "", 0},
    {"Light", "ColorBoard.png", 308, 34, Shape::ColourBoard, State::Normal, Tone::Neutral, "", 0},
    {"Light", "PreviewColor.png", 60, 60, Shape::EmptySwatch, State::Normal, Tone::Neutral, "", 0},
    {"Light", "ColorA.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 0},
    {"Light", "ColorB.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 1},
    {"Light", "ColorC.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 2},
    {"Light", "ColorD.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 3},
    {"Light", "ColorE.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 4},
    {"Light", "ColorF.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 5},
    {"Light", "ColorG.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 6},
    {"Light", "ColorH.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 7},
    {"Light", "ColorI.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 8},
    {"Light", "ColorJ.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 9},
    {"Light", "ColorK.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 10},
    {"Light", "ColorL.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 11},
    {"Light", "ColorM.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 12},
    {"Light", "ColorN.png", 28, 28, Shape::ColourChip, State::Normal, Tone::Neutral, "", 13},
    {"Light", "Close.png", 36, 18, Shape::Switch, State::Normal, Tone::Neutral, "", 0},
    {"Light", "Open.png", 36, 18, Shape::Switch, State::Checked, Tone::Accent, "", 0},
    {"Light", "CheckBox2.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"Light", "CheckBoxCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"Light", "Mode1.png", 166, 127, Shape::ReceiverPicture, State::Normal, Tone::Accent, "", 0},
    {"Light", "Mode2.png", 12, 148, Shape::LegendBar, State::Normal, Tone::Neutral, "", 4},
    {"Light", "Mode3.png", 17, 245, Shape::LegendBar, State::Normal, Tone::Neutral, "", 7},
    // --- lighting-mode dialog: Picture/ScreeInfo/ -----------------------------
    {"ScreeInfo", "ComboboxBack.png", 281, 34, Shape::ComboField, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "ComboboxTextBack.png", 281, 150, Shape::ComboPopup, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "Menu.png", 12, 8, Shape::MenuDown, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "MenuClicked.png", 12, 8, Shape::MenuUp, State::Checked, Tone::Neutral, "", 0},
    {"ScreeInfo", "Reduce.png", 14, 4, Shape::Minus, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "Add.png", 14, 14, Shape::Plus, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "ColorBoard.png", 200, 22, Shape::ColourBoard, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "PreviewColor.png", 60, 60, Shape::EmptySwatch, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "ColorA.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 0},
    {"ScreeInfo", "ColorB.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 1},
    {"ScreeInfo", "ColorC.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 2},
    {"ScreeInfo", "ColorD.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 3},
    {"ScreeInfo", "ColorE.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 4},
    {"ScreeInfo", "ColorF.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 5},
    {"ScreeInfo", "ColorG.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 6},
    {"ScreeInfo", "ColorH.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 7},
    {"ScreeInfo", "ColorI.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 8},
    {"ScreeInfo", "ColorJ.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 9},
    {"ScreeInfo", "ColorK.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 10},
    {"ScreeInfo", "ColorL.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 11},
    {"ScreeInfo", "ColorM.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 12},
    {"ScreeInfo", "ColorN.png", 18, 18, Shape::ColourChip, State::Normal, Tone::Neutral, "", 13},
    // --- receiver LED-information dialog (settings page folder) ---------------
    {"FormSetting", "Back.png", 638, 318, Shape::NoticePanel, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "CheckBox2.png", 16, 16, Shape::CheckBox, State::Normal, Tone::Neutral, "", 0},
    {"FormSetting", "CheckBoxCheck.png", 16, 16, Shape::CheckBox, State::Checked, Tone::Accent, "", 0},
    {"FormSetting", "Close.png", 20, 20, Shape::Close, State::Normal, Tone::Danger, "", 0},
    {"FormSetting", "CloseHover.png", 20, 20, Shape::Close, State::Hover, Tone::Danger, "", 0},
    {"FormSetting", "CloseClick.png", 20, 20, Shape::Close, State::Click, Tone::Danger, "", 0},
};

inline constexpr int kImageCount = sizeof(kImages) / sizeof(kImages[0]);

} // namespace imagegen
