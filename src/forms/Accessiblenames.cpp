#include "Accessiblenames.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace AccessibleNames {

namespace {

using Table = QHash<QString, QString>;

const QHash<QString, Table> &Tables()
{
    static const QHash<QString, Table> tables = {
        {QStringLiteral("frmMain"),
            {
                {QStringLiteral("btnAdd"), QStringLiteral("Добавить...")},
                {QStringLiteral("btnDelete"), QStringLiteral("Удалить")},
                {QStringLiteral("btnChange"), QStringLiteral("Изменить...")},
                {QStringLiteral("btnClear"), QStringLiteral("Очистить")},
                {QStringLiteral("chkAll"), QStringLiteral("Все задания")},
                {QStringLiteral("btnSettings"), QStringLiteral("Настройки...")},
                {QStringLiteral("btnHelp"), QStringLiteral("Меню")},
                {QStringLiteral("btnExit"), QStringLiteral("Выход")},
                {QStringLiteral("cklTaskList"), QStringLiteral("Список задач")},
                {QStringLiteral("imgRing"), QStringLiteral("Звонок")},
            }},
        {QStringLiteral("frmAdd"),
            {
                {QStringLiteral("radType"), QStringLiteral("Что следует сделать?")},
                {QStringLiteral("grpRemindAlso"), QStringLiteral("Дополнительные параметры задания")},
                {QStringLiteral("chkPlaySound"), QStringLiteral("Проигрывать звуковой файл (*.wav)")},
                {QStringLiteral("edtSoundFileName"), QStringLiteral("Звуковой файл")},
                {QStringLiteral("btnAudioOpen"), QStringLiteral("Открыть")},
                {QStringLiteral("btnAudioPlay"), QStringLiteral("Прослушать")},
                {QStringLiteral("btnAudioStop"), QStringLiteral("Остановить")},
                {QStringLiteral("chkShowMessage"), QStringLiteral("Показывать свое напоминающее сообщение")},
                {QStringLiteral("memMessage"), QStringLiteral("Напоминающее сообщение")},
                {QStringLiteral("edtProgFileName"), QStringLiteral("Файл программы или документа")},
                {QStringLiteral("edtBirthFIO"), QStringLiteral("Как звать именинника?")},
                {QStringLiteral("Label13"), QStringLiteral("<дополнительных параметров нет>")},
                {QStringLiteral("Label10"), QStringLiteral("<устанавливать время не нужно>")},
                {QStringLiteral("grpTimeSettings"), QStringLiteral("Установка времени выполнения")},
                {QStringLiteral("cbxHours"), QStringLiteral("Часы")},
                {QStringLiteral("cbxMinutes"), QStringLiteral("Минуты")},
                {QStringLiteral("cbxSeconds"), QStringLiteral("Секунды")},
                {QStringLiteral("btnPlusTime"), QStringLiteral("+ к установленному времени")},
                {QStringLiteral("cbxPlusHours"), QStringLiteral("Прибавляемые часы")},
                {QStringLiteral("cbxPlusMinutes"), QStringLiteral("Прибавляемые минуты")},
                {QStringLiteral("cbxPlusSeconds"), QStringLiteral("Прибавляемые секунды")},
                {QStringLiteral("grpDateSettings"), QStringLiteral("Установка даты выполнения")},
                {QStringLiteral("cbxDay"), QStringLiteral("Число")},
                {QStringLiteral("cbxMonth"), QStringLiteral("Месяц")},
                {QStringLiteral("cbxYear"), QStringLiteral("Год")},
                {QStringLiteral("chkEveryDay"), QStringLiteral("Выполнять каждый день")},
                {QStringLiteral("pnlBirthWarning"), QStringLiteral("Напоминание о дне рождения")},
                {QStringLiteral("btnOK"), QStringLiteral("ОК")},
                {QStringLiteral("btnCancel"), QStringLiteral("Отмена")},
                {QStringLiteral("btnHelp"), QStringLiteral("Справка")},
            }},
        {QStringLiteral("frmSettings"),
            {
                {QStringLiteral("PageControl1"), QStringLiteral("Настройки")},
                {QStringLiteral("chkRunOnStart"), QStringLiteral("запускать программу при загрузке Windows")},
                {QStringLiteral("chkMinimaze"),
                    QStringLiteral("автоматически сворачивать в трэй при запуске программы")},
                {QStringLiteral("chkPlaySound"), QStringLiteral("проигрывать звуковой файл (по умолчанию)")},
                {QStringLiteral("edtSoundFileName"), QStringLiteral("Путь к звуковому файлу (по умолчанию)")},
                {QStringLiteral("btnAudioOpen"), QStringLiteral("Открыть звуковой файл")},
                {QStringLiteral("edtProgFileName"),
                    QStringLiteral("Путь к файлу запускаемой программы\\документа (по умолчанию)")},
                {QStringLiteral("BitBtn1"), QStringLiteral("Открыть файл программы или документа")},
                {QStringLiteral("cbxPlusHours"), QStringLiteral("Часы")},
                {QStringLiteral("cbxPlusMinutes"), QStringLiteral("Минуты")},
                {QStringLiteral("cbxPlusSeconds"), QStringLiteral("Секунды")},
                {QStringLiteral("chkMessage"), QStringLiteral("показывать свое сообщение (по умолчанию)")},
                {QStringLiteral("cbxSimvCount"), QStringLiteral("Количество символов")},
                {QStringLiteral("btnOK"), QStringLiteral("ОК")},
                {QStringLiteral("btnCancel"), QStringLiteral("Отмена")},
                {QStringLiteral("btnHelp"), QStringLiteral("Справка")},
            }},
        {QStringLiteral("frmAbout"),
            {
                {QStringLiteral("Image1"), QStringLiteral("Картинка")},
                {QStringLiteral("Image2"), QStringLiteral("Zarvo")},
                {QStringLiteral("Label6"), QStringLiteral("E-mail автора")},
                {QStringLiteral("Label7"), QStringLiteral("Сайт разработчика")},
                {QStringLiteral("BitBtn1"), QStringLiteral("OK")},
            }},
    };
    return tables;
}

} // namespace

QString For(const QString &windowName, const QString &objectName)
{
    return Tables().value(windowName).value(objectName);
}

namespace {

bool HasBuddyLabel(QWidget *control)
{
    const auto labels = control->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    return std::any_of(
        labels.cbegin(), labels.cend(), [control](QLabel *label) { return label->buddy() == control; });
}

} // namespace

void Apply(QWidget &window)
{
    const Table table = Tables().value(window.objectName());
    const auto children = window.findChildren<QWidget *>();
    for (QWidget *child : children) {
        const QString name = table.value(child->objectName());
        if (name.isEmpty())
            continue;
        child->setAccessibleName(name);
        // A list without a caption of its own on the screen (the plus lists under their button)
        // gets an unseen one, for the labelled-by relation.
        if (qobject_cast<QComboBox *>(child) && child->parentWidget() && !HasBuddyLabel(child)) {
            auto *caption = new QLabel(name, child->parentWidget());
            caption->setObjectName(QStringLiteral("lbl") + child->objectName());
            caption->setGeometry(child->geometry());
            caption->lower();
            caption->setBuddy(child);
            caption->hide();
        }
    }
}

} // namespace AccessibleNames
