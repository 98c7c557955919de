#pragma once
// The styled controls' appearance classes. Each holds the colours one kind of control paints with.

#include "host/palmo/PalmoPersistent.h"

class TPalmoButtonAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor NOTIFY Changed)
    Q_PROPERTY(TCVColor PressedColor MEMBER FPressedColor NOTIFY Changed)
    Q_PROPERTY(TCVColor BorderColor MEMBER FBorderColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TextColor MEMBER FTextColor NOTIFY Changed)
    Q_PROPERTY(TColorValue ShadowColor MEMBER FShadowColor NOTIFY Changed)
    Q_PROPERTY(int CornerRadius MEMBER FCornerRadius NOTIFY Changed)
    Q_PROPERTY(QString Caption MEMBER FCaption NOTIFY Changed)
public:
    explicit TPalmoButtonAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FColor = CVColorOf("RoyalBlue");
    TCVColor FPressedColor = CVColorOf("MediumBlue");
    TCVColor FBorderColor = CVColorOf("MidnightBlue");
    TCVColor FTextColor = CVColorOf("White");
    TColorValue FShadowColor{0x808080};
    int FCornerRadius = 8;
    QString FCaption = QStringLiteral("Button");
};

class TPalmoOnOffButtonAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor OnColor MEMBER FOnColor NOTIFY Changed)
    Q_PROPERTY(TCVColor OffColor MEMBER FOffColor NOTIFY Changed)
    Q_PROPERTY(TCVColor KnobColor MEMBER FKnobColor NOTIFY Changed)
    Q_PROPERTY(TCVColor BorderColor MEMBER FBorderColor NOTIFY Changed)
    Q_PROPERTY(bool Checked MEMBER FChecked NOTIFY Changed)
public:
    explicit TPalmoOnOffButtonAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FOnColor = CVColorOf("LimeGreen");
    TCVColor FOffColor = CVColorOf("LightGray");
    TCVColor FKnobColor = CVColorOf("White");
    TCVColor FBorderColor = CVColorOf("DarkGray");
    bool FChecked = true;
};

class TPalmoTrackbarAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor TrackColor MEMBER FTrackColor NOTIFY Changed)
    Q_PROPERTY(TCVColor ProgressColor MEMBER FProgressColor NOTIFY Changed)
    Q_PROPERTY(TCVColor ThumbColor MEMBER FThumbColor NOTIFY Changed)
    Q_PROPERTY(TCVColor ThumbBorderColor MEMBER FThumbBorderColor NOTIFY Changed)
    Q_PROPERTY(int Position MEMBER FPosition NOTIFY Changed)
public:
    explicit TPalmoTrackbarAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FTrackColor = CVColorOf("Gainsboro");
    TCVColor FProgressColor = CVColorOf("DarkOrange");
    TCVColor FThumbColor = CVColorOf("White");
    TCVColor FThumbBorderColor = CVColorOf("Gray");
    int FPosition = 60;
};

class TPalmoListItemAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor NOTIFY Changed)
    Q_PROPERTY(TCVColor SelectedColor MEMBER FSelectedColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TextColor MEMBER FTextColor NOTIFY Changed)
    Q_PROPERTY(TCVColor DetailTextColor MEMBER FDetailTextColor NOTIFY Changed)
    Q_PROPERTY(TCVColor SeparatorColor MEMBER FSeparatorColor NOTIFY Changed)
    Q_PROPERTY(int ItemHeight MEMBER FItemHeight NOTIFY Changed)
public:
    explicit TPalmoListItemAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FColor = CVColorOf("White");
    TCVColor FSelectedColor = CVColorOf("LightSkyBlue");
    TCVColor FTextColor = CVColorOf("Black");
    TCVColor FDetailTextColor = CVColorOf("DarkSlateGray");
    TCVColor FSeparatorColor = CVColorOf("Silver");
    int FItemHeight = 28;
};

class TPalmoIndicator : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor ActiveColor MEMBER FActiveColor NOTIFY Changed)
    Q_PROPERTY(TCVColor InactiveColor MEMBER FInactiveColor NOTIFY Changed)
    Q_PROPERTY(int Count MEMBER FCount NOTIFY Changed)
    Q_PROPERTY(int ActiveIndex MEMBER FActiveIndex NOTIFY Changed)
public:
    explicit TPalmoIndicator(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FActiveColor = CVColorOf("Crimson");
    TCVColor FInactiveColor = CVColorOf("Pink");
    int FCount = 5;
    int FActiveIndex = 1;
};

class TPalmoSpinnerAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor NOTIFY Changed)
    Q_PROPERTY(TCVColor FrameColor MEMBER FFrameColor NOTIFY Changed)
    Q_PROPERTY(TCVColor SelectionColor MEMBER FSelectionColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TextColor MEMBER FTextColor NOTIFY Changed)
    Q_PROPERTY(TCVColor HighlightColor MEMBER FHighlightColor NOTIFY Changed)
    Q_PROPERTY(TCVColor ShadeColor MEMBER FShadeColor NOTIFY Changed)
public:
    explicit TPalmoSpinnerAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FColor = CVColorOf("WhiteSmoke");
    TCVColor FFrameColor = CVColorOf("DimGray");
    TCVColor FSelectionColor = CVColorOf("LightSteelBlue");
    TCVColor FTextColor = CVColorOf("Black");
    TCVColor FHighlightColor = CVColorOf("White");
    TCVColor FShadeColor = CVColorOf("DarkGray");
};

class TPalmoPopupAppearance : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor NOTIFY Changed)
    Q_PROPERTY(TCVColor BorderColor MEMBER FBorderColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TitleColor MEMBER FTitleColor NOTIFY Changed)
    Q_PROPERTY(TCVColor TextColor MEMBER FTextColor NOTIFY Changed)
    Q_PROPERTY(TCVColor OverlayColor MEMBER FOverlayColor NOTIFY Changed)
    Q_PROPERTY(QString Title MEMBER FTitle NOTIFY Changed)
public:
    explicit TPalmoPopupAppearance(QObject* Parent = nullptr) : TPalmoPersistent(Parent) {}
    TCVColor FColor = CVColorOf("Ivory");
    TCVColor FBorderColor = CVColorOf("Goldenrod");
    TCVColor FTitleColor = CVColorOf("SaddleBrown");
    TCVColor FTextColor = CVColorOf("DarkSlateGray");
    TCVColor FOverlayColor = CVColorOf("Gray");
    QString FTitle = QStringLiteral("Popup");
};
