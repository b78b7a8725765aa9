<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DroppedFiles</name>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="33"/>
        <source>変更スクリプト（適用する）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="33"/>
        <source>テキスト集（読み込む）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="34"/>
        <source>名前リスト（読み込む）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="36"/>
        <source>%1 は:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="59"/>
        <source>変更スクリプトの適用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="60"/>
        <source>テキストの読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="61"/>
        <source>名前リストの読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="62"/>
        <source>顔グラフィック PNG の読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="63"/>
        <source>ユニットグラフィック PNG の読み込み</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <location filename="../src/app/main_menus.cpp" line="41"/>
        <location filename="../src/app/main_menus.cpp" line="48"/>
        <source>名前リスト(&amp;N)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="41"/>
        <source>名前リストの書き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="42"/>
        <location filename="../src/app/main_menus.cpp" line="49"/>
        <source>テキスト集(&amp;T)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="42"/>
        <source>テキストの書き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="43"/>
        <location filename="../src/app/main_menus.cpp" line="50"/>
        <source>顔グラフィック (FIG/PNG)(&amp;F)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="43"/>
        <source>顔グラフィックの抜き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="44"/>
        <source>顔グラフィック一覧 (BMP)(&amp;B)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="44"/>
        <source>顔グラBMPの抜き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="45"/>
        <location filename="../src/app/main_menus.cpp" line="51"/>
        <source>ユニットグラフィック等 (FIG/PNG)(&amp;U)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="45"/>
        <source>ユニットグラフィック等の抜き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="48"/>
        <source>名前リストの読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="49"/>
        <source>テキストの読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="50"/>
        <source>顔グラフィックの書き込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="51"/>
        <source>ユニットグラフィック等の書き込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="56"/>
        <source>VELK マニュアル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="60"/>
        <source>マニュアルが見つかりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="81"/>
        <source>ファイル(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="82"/>
        <source>開く(&amp;O)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="83"/>
        <source>最近使ったファイル(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="91"/>
        <source>（なし）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="94"/>
        <source>保存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="95"/>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="97"/>
        <source>パッチを書き出す(&amp;P)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="99"/>
        <source>書き出し(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="101"/>
        <source>読み込み(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="103"/>
        <source>変更スクリプトを適用(&amp;C)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="103"/>
        <source>変更スクリプトの適用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="106"/>
        <source>終了(&amp;Q)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="108"/>
        <source>編集(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="109"/>
        <source>元に戻す(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="111"/>
        <source>やり直し(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="117"/>
        <source>絞り込み(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="119"/>
        <source>名前とテキストを検索(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="121"/>
        <source>表示(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="122"/>
        <source>拡大(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="124"/>
        <source>縮小(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="125"/>
        <source>元の大きさ(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="127"/>
        <source>言語(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="139"/>
        <source>次に起動した時から %1 で表示します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="143"/>
        <source>ツール(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="144"/>
        <source>モード選択ダイアログ(&amp;M)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="151"/>
        <source>一括変換 (プロジェクトの適用)(&amp;B)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="153"/>
        <source>一括変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="156"/>
        <source>ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="157"/>
        <source>マニュアル(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="158"/>
        <source>バージョン情報(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velk::FileCommands</name>
    <message>
        <location filename="../src/app/file_commands.cpp" line="31"/>
        <location filename="../src/app/file_commands.cpp" line="40"/>
        <source>ROM の読み込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="36"/>
        <source>%1 が見つかりません。最近使ったファイルの一覧から外しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="46"/>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="57"/>
        <source>名前を付けて保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="67"/>
        <source>パッチの書き出し</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velk::Workbench</name>
    <message>
        <location filename="../src/app/workbench.cpp" line="104"/>
        <source>ROM を開く</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
