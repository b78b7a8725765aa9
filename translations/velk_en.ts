<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>BoxPreview</name>
    <message>
        <location filename="../src/app/box_preview.cpp" line="28"/>
        <source>ゲームの枠での見え方（1 文字 1 マス、赤い所がはみ出し）</source>
        <translation>How it looks in the game’s box (one character per cell; red overflows)</translation>
    </message>
</context>
<context>
    <name>DroppedFiles</name>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="33"/>
        <source>変更スクリプト（適用する）</source>
        <translation>Change script (apply it)</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="33"/>
        <source>テキスト集（読み込む）</source>
        <translation>Text collection (import it)</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="34"/>
        <source>名前リスト（読み込む）</source>
        <translation>Name list (import it)</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="36"/>
        <source>%1 は:</source>
        <translation>%1 is:</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="59"/>
        <source>変更スクリプトの適用</source>
        <translation>Apply change script</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="60"/>
        <source>テキストの読み込み</source>
        <translation>Import texts</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="61"/>
        <source>名前リストの読み込み</source>
        <translation>Import name list</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="62"/>
        <source>顔グラフィック PNG の読み込み</source>
        <translation>Import face PNG files</translation>
    </message>
    <message>
        <location filename="../src/app/dropped_files.cpp" line="63"/>
        <source>ユニットグラフィック PNG の読み込み</source>
        <translation>Import unit graphics PNG</translation>
    </message>
</context>
<context>
    <name>EntryPage</name>
    <message>
        <location filename="../src/app/entry_page.cpp" line="99"/>
        <source>全角にする(&amp;W)</source>
        <translation>Make full-&amp;width</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="101"/>
        <source>この項目で、文字表にない半角の文字を全角にします</source>
        <translation>Turns the half-width characters the character table lacks into full-width ones in this entry</translation>
    </message>
</context>
<context>
    <name>EntryTableModel</name>
    <message>
        <location filename="../src/app/entry_table_model.cpp" line="150"/>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <location filename="../src/app/entry_table_model.cpp" line="151"/>
        <source>原文</source>
        <translation>Original</translation>
    </message>
</context>
<context>
    <name>FitRuler</name>
    <message>
        <location filename="../src/app/fit_ruler.cpp" line="38"/>
        <source>この行の幅（マス）と上限</source>
        <translation>Width of this line (cells) and its limit</translation>
    </message>
</context>
<context>
    <name>LiveFit</name>
    <message>
        <location filename="../src/app/fit_ruler.cpp" line="82"/>
        <source>はみ出し</source>
        <translation>Overflowing</translation>
    </message>
    <message>
        <location filename="../src/app/fit_ruler.cpp" line="84"/>
        <source>枠に収まらない項目だけを表示します</source>
        <translation>Shows only the entries that do not fit their box</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <location filename="../src/app/main_menus.cpp" line="42"/>
        <location filename="../src/app/main_menus.cpp" line="49"/>
        <source>名前リスト(&amp;N)...</source>
        <translation>&amp;Name list...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="42"/>
        <source>名前リストの書き出し</source>
        <translation>Export name list</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="43"/>
        <location filename="../src/app/main_menus.cpp" line="50"/>
        <source>テキスト集(&amp;T)...</source>
        <translation>&amp;Text collection...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="43"/>
        <source>テキストの書き出し</source>
        <translation>Export texts</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="44"/>
        <location filename="../src/app/main_menus.cpp" line="51"/>
        <source>顔グラフィック (FIG/PNG)(&amp;F)...</source>
        <translation>&amp;Faces (FIG/PNG)...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="44"/>
        <source>顔グラフィックの抜き出し</source>
        <translation>Extract faces</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="45"/>
        <source>顔グラフィック一覧 (BMP)(&amp;B)...</source>
        <translation>All faces as a &amp;bitmap (BMP)...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="45"/>
        <source>顔グラBMPの抜き出し</source>
        <translation>Export face bitmap</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="46"/>
        <location filename="../src/app/main_menus.cpp" line="52"/>
        <source>ユニットグラフィック等 (FIG/PNG)(&amp;U)...</source>
        <translation>&amp;Unit graphics (FIG/PNG)...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="46"/>
        <source>ユニットグラフィック等の抜き出し</source>
        <translation>Extract unit graphics</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="49"/>
        <source>名前リストの読み込み</source>
        <translation>Import name list</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="50"/>
        <source>テキストの読み込み</source>
        <translation>Import texts</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="51"/>
        <source>顔グラフィックの書き込み</source>
        <translation>Write faces</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="52"/>
        <source>ユニットグラフィック等の書き込み</source>
        <translation>Write unit graphics</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="57"/>
        <source>VELK マニュアル</source>
        <translation>VELK manual</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="61"/>
        <source>マニュアルが見つかりません。</source>
        <translation>The manual is missing.</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="82"/>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="83"/>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="84"/>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent files</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="92"/>
        <source>（なし）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="95"/>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="96"/>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="98"/>
        <source>パッチを書き出す(&amp;T)...</source>
        <translation>Expor&amp;t Patch...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="101"/>
        <source>書き出し(&amp;E)</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="103"/>
        <source>読み込み(&amp;I)</source>
        <translation>&amp;Import</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="105"/>
        <source>変更スクリプトを適用(&amp;C)...</source>
        <translation>Apply &amp;Change Script...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="105"/>
        <source>変更スクリプトの適用</source>
        <translation>Apply change script</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="108"/>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="110"/>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="111"/>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="113"/>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="119"/>
        <source>絞り込み(&amp;L)</source>
        <translation>Fi&amp;lter the List</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="121"/>
        <source>名前とテキストを検索(&amp;F)</source>
        <translation>&amp;Find in Names and Texts</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="122"/>
        <source>置換(&amp;H)...</source>
        <translation>Re&amp;place...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="126"/>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="127"/>
        <source>拡大(&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="129"/>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="130"/>
        <source>元の大きさ(&amp;R)</source>
        <translation>&amp;Reset Zoom</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="132"/>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="144"/>
        <source>次に起動した時から %1 で表示します</source>
        <translation>The window will be in %1 from the next start</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="148"/>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="149"/>
        <source>モード選択ダイアログ(&amp;M)...</source>
        <translation>&amp;Mode Dialog...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="156"/>
        <source>一括変換 (プロジェクトの適用)(&amp;B)...</source>
        <translation>&amp;Batch Conversion (Apply a Project)...</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="158"/>
        <source>一括変換</source>
        <translation>Batch conversion</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="161"/>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="162"/>
        <source>マニュアル(&amp;M)</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <location filename="../src/app/main_menus.cpp" line="163"/>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About VELK...</translation>
    </message>
</context>
<context>
    <name>Workbench</name>
    <message>
        <location filename="../src/app/workbench.cpp" line="201"/>
        <source>半角の文字を全角で書き込む(&amp;W)</source>
        <translation>Write Half-Width Characters as Full-&amp;Width</translation>
    </message>
</context>
<context>
    <name>velk</name>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="39"/>
        <source>未翻訳</source>
        <translation>Untranslated</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="40"/>
        <source>下訳</source>
        <translation>Draft</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="41"/>
        <source>要確認</source>
        <translation>Needs review</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="42"/>
        <source>確認済</source>
        <translation>Reviewed</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="43"/>
        <source>固定</source>
        <translation>Locked</translation>
    </message>
</context>
<context>
    <name>velk::DeskPanel</name>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="95"/>
        <source>原文</source>
        <translation>Original</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="96"/>
        <source>原文（読み込んだ時のテキスト）。赤は訳文にない部分、下線は用語集の語です</source>
        <translation>Original (the text as loaded). Red marks what the translation lacks; underlined words are in the glossary</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="102"/>
        <source>メモ（適用するか、ほかへ移ると記録されます）</source>
        <translation>Note (kept when you apply or move to another entry)</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="109"/>
        <source>すべての状態</source>
        <translation>All statuses</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="119"/>
        <source>この名前を使うテキスト</source>
        <translation>Texts using this name</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="119"/>
        <source>使っている名前</source>
        <translation>Names used</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="122"/>
        <source>同じ原文</source>
        <translation>Same original</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="126"/>
        <source>同じ原文にも反映</source>
        <translation>Apply to repeats</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="127"/>
        <source>適用時に同じ原文の項目にも反映する</source>
        <translation>When applying, also update entries with the same original</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="130"/>
        <source>用語</source>
        <translation>Terms</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="148"/>
        <source>次の未翻訳へ</source>
        <translation>Next Untranslated</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="183"/>
        <source>用語集に追加(&amp;G)...</source>
        <translation>Add to &amp;Glossary...</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="185"/>
        <source>用語集に追加</source>
        <translation>Add to glossary</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="186"/>
        <source>「%1」の訳語:</source>
        <translation>Translation of “%1”:</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="190"/>
        <source>用語と訳語にはタブや改行を含められず、用語は # で始められません</source>
        <translation>Terms and translations cannot contain tabs or line breaks, and a term cannot start with #</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="258"/>
        <source>「%1」→「%2」</source>
        <translation>“%1” → “%2”</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="259"/>
        <source>訳語がありません: </source>
        <translation>Missing translations: </translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="259"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="273"/>
        <source>（未定）</source>
        <translation>(undecided)</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="303"/>
        <source>同じ原文 (%1)</source>
        <translation>Same original (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="309"/>
        <source>%1 は固定されています。変更するには固定を外してください</source>
        <translation>%1 is locked; unlock it to change it</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="327"/>
        <source>（同じ原文の %1 件にも反映</source>
        <translation> (also applied to %1 entries with the same original</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="328"/>
        <source>、固定の %1 件は除外</source>
        <translation>, %1 locked ones left out</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="328"/>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="351"/>
        <source>先頭に戻って次の未翻訳を表示しました</source>
        <translation>Wrapped around to the next untranslated entry</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="354"/>
        <source>未翻訳の項目はありません</source>
        <translation>No untranslated entries</translation>
    </message>
    <message>
        <location filename="../src/app/desk_panel.cpp" line="358"/>
        <source>状態(&amp;T)</source>
        <translation>S&amp;tatus</translation>
    </message>
</context>
<context>
    <name>velk::EditorSession</name>
    <message>
        <location filename="../src/app/editor_session.cpp" line="212"/>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>velk::EntryPage</name>
    <message>
        <location filename="../src/app/entry_page.cpp" line="58"/>
        <source>絞り込み（全角・半角、大文字・小文字を区別しません。&lt;F0 12&gt; でコード）</source>
        <translation>Filter (full and half width, upper and lower case alike; &lt;F0 12&gt; for code)</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="78"/>
        <source>変更</source>
        <translation>Edited</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="90"/>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="94"/>
        <source>この項目を書き込みます (Ctrl+Enter)</source>
        <translation>Writes this entry (Ctrl+Enter)</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="95"/>
        <location filename="../src/app/entry_page.cpp" line="325"/>
        <source>元に戻す</source>
        <translation>Restore</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="97"/>
        <source>この項目を読み込んだ時のコードに戻します</source>
        <translation>Gives this entry back the code it had when loaded</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="180"/>
        <source>名前 %1 の変更</source>
        <translation>Edit of name %1</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="180"/>
        <source>テキスト %1 の変更</source>
        <translation>Edit of text %1</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="196"/>
        <source>%1 を元に戻す</source>
        <translation>Restore %1</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="259"/>
        <source>（変更あり）</source>
        <translation> (edited)</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="311"/>
        <source>%1 件中 %2 件</source>
        <translation>%2 of %1</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="319"/>
        <source>ファイルの形でコピー</source>
        <translation>Copy in file form</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="322"/>
        <source>番号をコピー</source>
        <translation>Copy number</translation>
    </message>
    <message>
        <location filename="../src/app/entry_page.cpp" line="324"/>
        <source>この名前を使うテキストを探す</source>
        <translation>Find texts using this name</translation>
    </message>
</context>
<context>
    <name>velk::FacePage</name>
    <message>
        <location filename="../src/app/face_page.cpp" line="36"/>
        <source>顔の一覧の倍率（Ctrl+ホイールでも変わります）</source>
        <translation>Zoom of the face list (Ctrl+wheel changes it too)</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="42"/>
        <source>色セット(&amp;C)</source>
        <translation>&amp;Colour set</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="44"/>
        <source>拡大(&amp;Z)</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="46"/>
        <source>書き出す(&amp;X)...</source>
        <translation>E&amp;xport...</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="47"/>
        <source>選んだ顔を PNG に書き出します</source>
        <translation>Exports the selected face as a PNG</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="48"/>
        <source>読み込む(&amp;I)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="49"/>
        <source>PNG を選んだ顔に読み込みます（元に戻せます）</source>
        <translation>Imports a PNG into the selected face (can be undone)</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="50"/>
        <source>外部エディタで開く(&amp;E)</source>
        <translation>Open in &amp;external editor</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="52"/>
        <source>PNG を開くプログラムで開き、保存されるたびに読み込みます</source>
        <translation>Opens it in your PNG program and imports it each time it is saved</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="119"/>
        <source>顔 %1（0x%2）</source>
        <translation>Face %1 (0x%2)</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="132"/>
        <source>顔 %1 の書き出し</source>
        <translation>Export face %1</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="136"/>
        <source>顔 %1 の読み込み</source>
        <translation>Import face %1</translation>
    </message>
    <message>
        <location filename="../src/app/face_page.cpp" line="163"/>
        <source>PNG を開くプログラムが見つかりません: %1</source>
        <translation>No program found to open PNG files: %1</translation>
    </message>
</context>
<context>
    <name>velk::FileCommands</name>
    <message>
        <location filename="../src/app/file_commands.cpp" line="31"/>
        <location filename="../src/app/file_commands.cpp" line="40"/>
        <source>ROM の読み込み</source>
        <translation>Load ROM</translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="36"/>
        <source>%1 が見つかりません。最近使ったファイルの一覧から外しました。</source>
        <translation>%1 was not found; it has been removed from the recent files.</translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="58"/>
        <source>名前を付けて保存</source>
        <translation>Save as</translation>
    </message>
    <message>
        <location filename="../src/app/file_commands.cpp" line="67"/>
        <source>パッチの書き出し</source>
        <translation>Export patch</translation>
    </message>
</context>
<context>
    <name>velk::ProjectSession</name>
    <message>
        <location filename="../src/app/project_session.cpp" line="63"/>
        <location filename="../src/app/project_session.cpp" line="87"/>
        <location filename="../src/app/project_session.cpp" line="131"/>
        <source>プロジェクトを開く</source>
        <translation>Open project</translation>
    </message>
    <message>
        <location filename="../src/app/project_session.cpp" line="125"/>
        <source>プロジェクトとして書き出す</source>
        <translation>Export as project</translation>
    </message>
    <message>
        <location filename="../src/app/project_session.cpp" line="149"/>
        <source>プロジェクトのファイルが変わりました。読み直す前に編集を保存しますか？</source>
        <translation>The project files have changed. Save your edits before reloading?</translation>
    </message>
    <message>
        <location filename="../src/app/project_session.cpp" line="235"/>
        <source>名前 %1 / %2 (%3%)  テキスト %4 / %5 (%6%)</source>
        <translation>Names %1 / %2 (%3%)  Texts %4 / %5 (%6%)</translation>
    </message>
    <message>
        <location filename="../src/app/project_session.cpp" line="254"/>
        <source>プロジェクトを開く(&amp;P)...</source>
        <translation>Open &amp;Project...</translation>
    </message>
    <message>
        <location filename="../src/app/project_session.cpp" line="255"/>
        <source>プロジェクトとして書き出す(&amp;J)...</source>
        <translation>Export as Pro&amp;ject...</translation>
    </message>
</context>
<context>
    <name>velk::ReplaceDialog</name>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="167"/>
        <source>置換</source>
        <translation>Replace</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="171"/>
        <source>探す文字列（re: で始めると正規表現）</source>
        <translation>Text to find (start with re: for a regular expression)</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="174"/>
        <source>置換後（正規表現では $1 や ${名前} でグループ）</source>
        <translation>Replacement ($1 or ${name} for groups in a regular expression)</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="175"/>
        <source>正規表現(&amp;X)</source>
        <translation>Regular e&amp;xpression</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="177"/>
        <source>名前</source>
        <translation>Names</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="177"/>
        <source>テキスト</source>
        <translation>Texts</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="177"/>
        <source>一覧で絞り込んだ行</source>
        <translation>Rows the list filter shows</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="179"/>
        <source>プレビュー(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="198"/>
        <source>チェックした行を置換(&amp;A)</source>
        <translation>Repl&amp;ace checked rows</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="205"/>
        <source>探す(&amp;S):</source>
        <translation>&amp;Search for:</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="206"/>
        <source>置換後(&amp;W):</source>
        <translation>Replace &amp;with:</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="209"/>
        <source>範囲:</source>
        <translation>Scope:</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="253"/>
        <source>%1 件が変わります</source>
        <translation>%1 entries will change</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="254"/>
        <source>（うち %1 件は置換できません）</source>
        <translation> (%1 of them cannot be replaced)</translation>
    </message>
    <message>
        <location filename="../src/app/replace_dialog.cpp" line="261"/>
        <source>置換（%1 件）</source>
        <translation>Replace (%1)</translation>
    </message>
</context>
<context>
    <name>velk::TranslationDesk</name>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="172"/>
        <source>状態なし</source>
        <translation>no status</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="174"/>
        <source>%1 を%2に</source>
        <translation>Set %1 to %2</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="175"/>
        <source>%1 件を%2に</source>
        <translation>Set %1 entries to %2</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="177"/>
        <source>しました</source>
        <translation>.</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="187"/>
        <source>%1 のメモ</source>
        <translation>Note on %1</translation>
    </message>
    <message>
        <location filename="../src/app/translation_desk.cpp" line="226"/>
        <source>固定された %1 件は変更しませんでした</source>
        <translation>%1 locked entries were left unchanged</translation>
    </message>
</context>
<context>
    <name>velk::UnitPage</name>
    <message>
        <location filename="../src/app/unit_page.cpp" line="28"/>
        <source>ファイルでの番号（0〜%1）</source>
        <translation>Number in the file (0–%1)</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="32"/>
        <source>共通の色の 16 色ずつの組</source>
        <translation>Groups of 16 of the shared colours</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="35"/>
        <source>番号(&amp;N)</source>
        <translation>&amp;Number</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="37"/>
        <source>色セット(&amp;C)</source>
        <translation>&amp;Colour set</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="47"/>
        <source>書き出す(&amp;X)...</source>
        <translation>E&amp;xport...</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="48"/>
        <source>選んだユニットグラフィックを 16×16 の PNG に書き出します</source>
        <translation>Exports the selected unit graphic as a 16×16 PNG</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="49"/>
        <source>読み込む(&amp;I)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="50"/>
        <source>16×16 の PNG を選んだユニットグラフィックに読み込みます（元に戻せます）</source>
        <translation>Imports a 16×16 PNG into the selected unit graphic (can be undone)</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="76"/>
        <source>ユニット %1 の書き出し</source>
        <translation>Export unit %1</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="81"/>
        <source>ユニット %1 の読み込み</source>
        <translation>Import unit %1</translation>
    </message>
    <message>
        <location filename="../src/app/unit_page.cpp" line="88"/>
        <source>ユニット %1（項目 %2）</source>
        <translation>Unit %1 (entry %2)</translation>
    </message>
</context>
<context>
    <name>velk::Workbench</name>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="175"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>名前</source>
        <translation>Names</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="177"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>テキスト</source>
        <translation>Texts</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>顔グラフィック</source>
        <translation>Faces</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>ユニットグラフィック</source>
        <translation>Unit graphics</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>追加文字</source>
        <translation>Added characters</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="77"/>
        <location filename="../src/app/workbench.cpp" line="259"/>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="79"/>
        <source>ユニットグラフィック (5900)</source>
        <translation>Unit graphics (5900)</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="105"/>
        <source>追加文字はまだありません。
変更スクリプトの「文字追加」で 256 文字まで追加できます。</source>
        <translation>No added characters yet.
A change script&apos;s &quot;文字追加&quot; section adds up to 256.</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="119"/>
        <source>ROM を開く</source>
        <translation>Open a ROM</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="166"/>
        <source>名前とテキストを検索（&lt;F0 12&gt; でコード）</source>
        <translation>Search names and texts (&lt;F0 12&gt; for code)</translation>
    </message>
    <message>
        <location filename="../src/app/workbench.cpp" line="184"/>
        <source>名前 %1 件・テキスト %2 件</source>
        <translation>%1 names, %2 texts</translation>
    </message>
</context>
</TS>
