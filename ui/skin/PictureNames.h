#pragma once

#include <QList>
#include <QString>

// A picture of the skin. The generator saves each under this name and the windows load it by
// the same constant, so a renamed or missing picture is a compile error, not a blank button.
class PictureName
{
public:
    constexpr explicit PictureName(const char *base, int index = -1, const char *separator = "_")
        : m_base(base), m_index(index), m_separator(separator)
    {
    }
    // The resource's name without ".png", e.g. "face" or "imgButtonData_6".
    QString Text() const
    {
        const QString base = QString::fromLatin1(m_base);
        return m_index < 0 ? base : base + QLatin1String(m_separator) + QString::number(m_index);
    }

private:
    const char *m_base;
    int m_index;
    const char *m_separator;
};

namespace Pictures {

// The main window.
inline constexpr PictureName face{"face"};
inline constexpr PictureName imgDoor{"imgDoor"};
inline constexpr PictureName imgDoorButtonData{"imgDoorButtonData"};
constexpr PictureName imgButtonData(int toolbarIndex)
{
    return PictureName("imgButtonData", toolbarIndex);
}
constexpr PictureName imgButtonDisabled(int toolbarIndex)
{
    return PictureName("imgButtonDisabled", toolbarIndex);
}
constexpr PictureName imgMenuData(int tab)
{
    return PictureName("imgMenuData", tab);
}
constexpr PictureName imgMenuDisabled(int tab)
{
    return PictureName("imgMenuDisabled", tab);
}
inline constexpr PictureName imgConvertData{"imgConvertData"};
inline constexpr PictureName imgConvertDisabled{"imgConvertDisabled"};
inline constexpr PictureName imgBrowseLight{"imgBrowseLight"};
inline constexpr PictureName imgBrowseDark{"imgBrowseDark"};
inline constexpr PictureName imgHelpLight{"imgHelpLight"};
inline constexpr PictureName imgMinLight{"imgMinLight"};
inline constexpr PictureName imgExitLight{"imgExitLight"};
// The pickers' drop-down buttons (also the options dialog's).
inline constexpr PictureName imgButton{"imgButton"};
inline constexpr PictureName imgButtonLight{"imgButtonLight"};
inline constexpr PictureName hand{"hand"};
inline constexpr PictureName picDrop{"picDrop"};
inline constexpr PictureName imgStop{"imgStop"};
inline constexpr PictureName imgStopLight{"imgStopLight"};

// The cutter options dialog.
inline constexpr PictureName frmOptionsFace{"frmOptions/face"};
inline constexpr PictureName frmOptionsOKLight{"frmOptions/imgOKLight"};
inline constexpr PictureName frmOptionsBackLight{"frmOptions/imgBackLight"};
inline constexpr PictureName frmOptionsExitLight{"frmOptions/imgExitLight"};

// The feedback form.
inline constexpr PictureName frmSuggestFace{"frmSuggest/face"};
inline constexpr PictureName frmSuggestSendLight{"frmSuggest/imgSendLight"};
inline constexpr PictureName frmSuggestBackLight{"frmSuggest/imgBackLight"};
inline constexpr PictureName frmSuggestExitLight{"frmSuggest/imgExitLight"};

// The program's icon at one of its sizes.
constexpr PictureName icon(int size)
{
    return PictureName("icon", size, "/");
}

} // namespace Pictures
