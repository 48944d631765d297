<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>CatalogueEditor</name>
    <message>
        <source>Добавить...</source>
        <translation>Add...</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>CatalogueUi</name>
    <message>
        <source>Отменить изменения</source>
        <translation>Discard Changes</translation>
    </message>
</context>
<context>
    <name>ChooserDialog</name>
    <message>
        <source>Выбор картинки</source>
        <translation>Choose Picture</translation>
    </message>
</context>
<context>
    <name>ColorBox</name>
    <message>
        <source>Чёрный</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Бордовый</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>Зелёный</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Оливковый</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>Тёмно-синий</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>Пурпурный</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>Сине-зелёный</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>Серый</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>Серебристый</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>Красный</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Салатовый</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>Жёлтый</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Синий</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Фуксия</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>Голубой</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>Белый</source>
        <translation>White</translation>
    </message>
</context>
<context>
    <name>DisplayName</name>
    <message>
        <source>Спец. элементы</source>
        <translation>Special Elements</translation>
    </message>
    <message>
        <source>Индикатор</source>
        <translation>Indicator</translation>
    </message>
    <message>
        <source>Переключатель</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Генератор</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>Осциллограф</source>
        <translation>Probe</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>Рисунок PNG</source>
        <translation>PNG image</translation>
    </message>
    <message>
        <source>Рисунок PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Рисунок SVG</source>
        <translation>SVG image</translation>
    </message>
    <message>
        <source>Рисунок SVG (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <source>Документ PDF</source>
        <translation>PDF document</translation>
    </message>
    <message>
        <source>Документ PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Только выделенные элементы</source>
        <translation>Selected elements only</translation>
    </message>
    <message>
        <source>Обзор...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>&amp;Формат:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>&amp;Масштаб:</source>
        <translation>&amp;Zoom:</translation>
    </message>
    <message>
        <source>Ф&amp;айл:</source>
        <translation>F&amp;ile:</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Укажите имя файла</source>
        <translation>Enter a file name</translation>
    </message>
    <message>
        <source>На схеме нечего экспортировать</source>
        <translation>The schematic has nothing to export</translation>
    </message>
    <message>
        <source>Рисунок слишком велик (%1 × %2 точек): уменьшите масштаб</source>
        <translation>The picture is too large (%1 × %2 pixels): choose a smaller zoom</translation>
    </message>
    <message>
        <source>Файл %1 уже существует. Заменить его?</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1:
%2</source>
        <translation>Could not write the file %1:
%2</translation>
    </message>
</context>
<context>
    <name>LineDialog</name>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Необходимо ввести тип элемента</source>
        <translation>A name must be entered</translation>
    </message>
</context>
<context>
    <name>NavigatorPanel</name>
    <message>
        <source>Навигатор</source>
        <translation>Navigator</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Микросхема...</source>
        <translation>Chip...</translation>
    </message>
    <message>
        <source>Специальный элемент</source>
        <translation>Special Element</translation>
    </message>
    <message>
        <source>Индикатор</source>
        <translation>Indicator</translation>
    </message>
    <message>
        <source>Переключатель</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Генератор</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>Осциллограф</source>
        <translation>Oscilloscope Probe</translation>
    </message>
</context>
<context>
    <name>OkCancelRow</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Время: </source>
        <translation>Time: </translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Новый</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Открыть...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить как...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Настройки...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Вырезать</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Вставить</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Снять выделение</source>
        <translation>Deselect All</translation>
    </message>
    <message>
        <source>Инвертировать выделение</source>
        <translation>Invert Selection</translation>
    </message>
    <message>
        <source>&amp;Схема</source>
        <translation>&amp;Schematic</translation>
    </message>
    <message>
        <source>Добавить микросхему...</source>
        <translation>Add Chip...</translation>
    </message>
    <message>
        <source>Добавить &amp;специальный элемент</source>
        <translation>Add &amp;Special Element</translation>
    </message>
    <message>
        <source>Индикатор</source>
        <translation>Indicator</translation>
    </message>
    <message>
        <source>Переключатель</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Удалить выделенные элементы</source>
        <translation>Delete Selected Elements</translation>
    </message>
    <message>
        <source>Осцилографы</source>
        <translation>Oscilloscopes</translation>
    </message>
    <message>
        <source>Управление схемой...</source>
        <translation>Schematic Control...</translation>
    </message>
    <message>
        <source>&amp;Базы данных</source>
        <translation>&amp;Catalogue</translation>
    </message>
    <message>
        <source>Изображения элементов...</source>
        <translation>Element Pictures...</translation>
    </message>
    <message>
        <source>Елементы...</source>
        <translation>Elements...</translation>
    </message>
    <message>
        <source>Изображения микросхем...</source>
        <translation>Chip Pictures...</translation>
    </message>
    <message>
        <source>Микросхемы...</source>
        <translation>Chips...</translation>
    </message>
    <message>
        <source>Панель инструментов</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Сохранить как</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Пуск</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Масштаб времени</source>
        <translation>Time Scale</translation>
    </message>
    <message>
        <source>Осциллографы</source>
        <translation>Oscilloscopes</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Настройки не сохранены. Закрыть программу без сохранения настроек?</source>
        <translation>The settings were not saved. Close the program without saving them?</translation>
    </message>
    <message>
        <source>В схеме уже %1 элементов: больше разместить нельзя.</source>
        <translation>The schematic already holds %1 elements: no more can be placed.</translation>
    </message>
    <message>
        <source>Данные в буфере обмена повреждены: ничего не вставлено.</source>
        <translation>The clipboard data is damaged: nothing was pasted.</translation>
    </message>
    <message>
        <source>В схеме не может быть больше пяти осциллографов: ничего не вставлено.</source>
        <translation>A schematic can hold at most five oscilloscope probes: nothing was pasted.</translation>
    </message>
    <message>
        <source>Схема Zivuvazodi Tarnwell (*.tsv)</source>
        <translation>Zivuvazodi Tarnwell schematic (*.tsv)</translation>
    </message>
    <message>
        <source>Сохранить изменения в схеме?</source>
        <translation>Save changes to the schematic?</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Из файла цепей пропущены ссылки на выводы или цепи (%1), подробности в журнале.</source>
        <translation>References to pins or nets were skipped while reading the netlist file (%1); see the log for details.</translation>
    </message>
    <message>
        <source>Отсоединить</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Удалить все соединение</source>
        <translation>Delete Entire Net</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Переключить</source>
        <translation>Toggle</translation>
    </message>
    <message>
        <source>Настроить генератор...</source>
        <translation>Generator Settings...</translation>
    </message>
    <message>
        <source>добавление микросхемы</source>
        <translation>add chip</translation>
    </message>
    <message>
        <source>добавление элемента</source>
        <translation>add element</translation>
    </message>
    <message>
        <source>размещение</source>
        <translation>place</translation>
    </message>
    <message>
        <source>соединение</source>
        <translation>connect</translation>
    </message>
    <message>
        <source>отсоединение</source>
        <translation>disconnect</translation>
    </message>
    <message>
        <source>удаление соединения</source>
        <translation>delete net</translation>
    </message>
    <message>
        <source>удаление</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>перемещение</source>
        <translation>move</translation>
    </message>
    <message>
        <source>настройка генератора</source>
        <translation>generator settings</translation>
    </message>
    <message>
        <source>вставка</source>
        <translation>paste</translation>
    </message>
    <message>
        <source>Отменить: %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>Повторить: %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Печать...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>схема.png</source>
        <translation>schematic.png</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>На схеме нечего печатать</source>
        <translation>The schematic has nothing to print</translation>
    </message>
    <message>
        <source>Не удалось напечатать схему</source>
        <translation>Could not print the schematic</translation>
    </message>
</context>
<context>
    <name>TForm10</name>
    <message>
        <source>Маркировка*</source>
        <translation>Marking*</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Маркировка</source>
        <translation>Marking</translation>
    </message>
    <message>
        <source>Тип*</source>
        <translation>Type*</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить текущий элемент</source>
        <translation>Do you really want to delete the current record?</translation>
    </message>
    <message>
        <source>База данных с микросхемами</source>
        <translation>Chips Catalogue</translation>
    </message>
    <message>
        <source>Элементы в микросхеме</source>
        <translation>Elements in the Chip</translation>
    </message>
    <message>
        <source>Название элемента</source>
        <translation>Element Name</translation>
    </message>
    <message>
        <source>Выбрать из базы элементов...</source>
        <translation>Choose from Elements...</translation>
    </message>
    <message>
        <source>Количество элементов:</source>
        <translation>Element count:</translation>
    </message>
    <message>
        <source>Количество ножек</source>
        <translation>Pin Count</translation>
    </message>
    <message>
        <source>Задержка (нс)</source>
        <translation>Delay (ns)</translation>
    </message>
    <message>
        <source>Низк -&gt; Выс</source>
        <translation>Low -&gt; High</translation>
    </message>
    <message>
        <source>Выс -&gt; Низк</source>
        <translation>High -&gt; Low</translation>
    </message>
    <message>
        <source>Изображение микросхемы</source>
        <translation>Chip Picture</translation>
    </message>
    <message>
        <source>Картинка</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Идентификатор</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Выбрать из базы изображений...</source>
        <translation>Choose from Pictures...</translation>
    </message>
    <message>
        <source>Основные параметры</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Электрические параметры</source>
        <translation>Electrical</translation>
    </message>
    <message>
        <source>Описание работы</source>
        <translation>Operation</translation>
    </message>
</context>
<context>
    <name>TForm11</name>
    <message>
        <source>Вводмаркировки</source>
        <translation>Chip Marking</translation>
    </message>
    <message>
        <source>Введите маркировку микросхемы</source>
        <translation>Enter the chip marking</translation>
    </message>
</context>
<context>
    <name>TForm13</name>
    <message>
        <source>Добвление микросхемы</source>
        <translation>Add Chip</translation>
    </message>
    <message>
        <source>Маркировка*</source>
        <translation>Marking*</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Поиск...</source>
        <translation>Find...</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm14</name>
    <message>
        <source>Поиск микросхемы</source>
        <translation>Find Chip</translation>
    </message>
    <message>
        <source>Введите образец для поиска</source>
        <translation>Enter a pattern to search for</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Внимание!</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Элемент не найден</source>
        <translation>No chip found</translation>
    </message>
</context>
<context>
    <name>TForm15</name>
    <message>
        <source>Масштаб времени</source>
        <translation>Time Scale</translation>
    </message>
    <message>
        <source>Быстро (0)</source>
        <translation>Fast (0)</translation>
    </message>
    <message>
        <source>Медленно (1000)</source>
        <translation>Slow (1000)</translation>
    </message>
</context>
<context>
    <name>TForm16</name>
    <message>
        <source>Настройка генератора</source>
        <translation>Generator Settings</translation>
    </message>
    <message>
        <source>Длительность периода высокого уровня:</source>
        <translation>High level duration:</translation>
    </message>
    <message>
        <source>Длительность периода низкого уровня:</source>
        <translation>Low level duration:</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Длительность периода должна быть целым числом от 0 до %1</source>
        <translation>A duration must be a whole number from 0 to %1</translation>
    </message>
</context>
<context>
    <name>TForm17</name>
    <message>
        <source>Осциллографы</source>
        <translation>Oscilloscopes</translation>
    </message>
    <message>
        <source>Показания осциллографов</source>
        <translation>Oscilloscope Traces</translation>
    </message>
    <message>
        <source>Следить за работой схемы</source>
        <translation>Follow the Simulation</translation>
    </message>
    <message>
        <source>Записывать всю историю</source>
        <translation>Record Whole History</translation>
    </message>
    <message>
        <source>Сохранить трассы...</source>
        <translation>Save Traces...</translation>
    </message>
    <message>
        <source>Убрать курсоры</source>
        <translation>Clear Cursors</translation>
    </message>
    <message>
        <source>Осциллограф%1</source>
        <translation>Probe%1</translation>
    </message>
    <message>
        <source>Δt = %1 нс</source>
        <translation>Δt = %1 ns</translation>
    </message>
    <message>
        <source>1/Δt = %1 МГц</source>
        <translation>1/Δt = %1 MHz</translation>
    </message>
    <message>
        <source>запись полна с %1</source>
        <translation>record complete from %1</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1:
%2</source>
        <translation>Could not write the file %1:
%2</translation>
    </message>
    <message>
        <source>Трассы VCD (*.vcd)</source>
        <translation>VCD traces (*.vcd)</translation>
    </message>
    <message>
        <source>Трассы CSV (*.csv)</source>
        <translation>CSV traces (*.csv)</translation>
    </message>
    <message>
        <source>Рисунок PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Сохранить трассы</source>
        <translation>Save Traces</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Дизайнер схемы</source>
        <translation>Schematic Editor</translation>
    </message>
    <message>
        <source>Выделять только полностью обведенный элемент</source>
        <translation>Select only elements fully inside the frame</translation>
    </message>
    <message>
        <source>Если данное свойство установлено, то будут выделяться только те элементы, которые полностью обведены рамкой</source>
        <translation>When set, only the elements that lie entirely inside the selection frame are selected</translation>
    </message>
    <message>
        <source>Прорисовывать соединения при перемещении</source>
        <translation>Draw wires while moving</translation>
    </message>
    <message>
        <source>Соединения элементов будут прорисовываться при перемещении элементов схемы</source>
        <translation>The wires are redrawn while elements of the schematic are being moved</translation>
    </message>
    <message>
        <source>Выделять элемент при добавлении в схему</source>
        <translation>Select an element when it is added</translation>
    </message>
    <message>
        <source>Добавленный элемент будет выделенным</source>
        <translation>A newly added element is selected</translation>
    </message>
    <message>
        <source>Выделять соединения цветом.</source>
        <translation>Highlight wires in color.</translation>
    </message>
    <message>
        <source>Соединение под мышкой будет выделяться синим цветом</source>
        <translation>The wire under the mouse pointer is highlighted in blue</translation>
    </message>
    <message>
        <source>Цвета</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>Рабочий стол</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Разметка</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Язык интерфейса</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>(после перезапуска программы)</source>
        <translation>(takes effect after a restart)</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>Внимание!</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить текущую картинку</source>
        <translation>Do you really want to delete the current picture?</translation>
    </message>
    <message>
        <source>База данных с изображениями элементов</source>
        <translation>Element Pictures Catalogue</translation>
    </message>
    <message>
        <source>Название картинки</source>
        <translation>Picture Name</translation>
    </message>
    <message>
        <source>Просмотр изображения</source>
        <translation>Picture Preview</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Сменить картинку</source>
        <translation>Change Picture</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Точечный рисунок BMP (*.bmp)</source>
        <translation>BMP bitmap (*.bmp)</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>Ввод имени</source>
        <translation>Picture Name</translation>
    </message>
    <message>
        <source>Введите тип элемента</source>
        <translation>Enter the picture name</translation>
    </message>
</context>
<context>
    <name>TForm7</name>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить текущий элемент</source>
        <translation>Do you really want to delete the current record?</translation>
    </message>
    <message>
        <source>База данных с элементами</source>
        <translation>Elements Catalogue</translation>
    </message>
    <message>
        <source>Название элемента</source>
        <translation>Element Name</translation>
    </message>
    <message>
        <source>Входы - Выходы</source>
        <translation>Inputs - Outputs</translation>
    </message>
    <message>
        <source>Идентификатор входов</source>
        <translation>Input pin names</translation>
    </message>
    <message>
        <source>Идентификатор выходов</source>
        <translation>Output pin names</translation>
    </message>
    <message>
        <source>Изображение не допускает выводов</source>
        <translation>The picture allows no pins</translation>
    </message>
    <message>
        <source>Картинка</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Идентификатор</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Выбрать из базы...</source>
        <translation>Choose from Catalogue...</translation>
    </message>
    <message>
        <source>Внешний вид</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Текст скрипта</source>
        <translation>Script Text</translation>
    </message>
    <message>
        <source>Сохранить в базе</source>
        <translation>Save to Catalogue</translation>
    </message>
    <message>
        <source>Скрипт</source>
        <translation>Script</translation>
    </message>
</context>
<context>
    <name>TForm9</name>
    <message>
        <source>Ввод имени</source>
        <translation>Element Type</translation>
    </message>
    <message>
        <source>Введите тип элемента</source>
        <translation>Enter the element type</translation>
    </message>
</context>
<context>
    <name>TFrame18</name>
    <message>
        <source>Масштаб</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Вкл</source>
        <translation>On</translation>
    </message>
</context>
</TS>
