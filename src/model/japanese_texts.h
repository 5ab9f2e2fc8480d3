// Fixed Japanese texts of the plug-in, as Shift-JIS (code page 932) bytes.
//
// Every text the plug-in compares with or writes is a byte string of the Japanese code page, so
// the constants are spelt as escaped bytes. The UTF-8 spelling stands in the comment of each;
// a test converts every spelling with iconv and compares it with the bytes.
#pragma once

// clang-format off
inline constexpr const char kJpTarget[] = "\x83^\x81[\x83Q\x83" "b\x83g";  // ターゲット (name of a target attribute)
inline constexpr const char kJpImage[] = "\x89\xE6\x91\x9C";  // 画像 (image attribute)
inline constexpr const char kJpContour[] = "\x93\x99\x8D\x82\x90\xFC";  // 等高線 (contour attribute)
inline constexpr const char kJpColor[] = "\x90" "F";  // 色 (colour)
inline constexpr const char kJpFileName[] = "\x83t\x83@\x83" "C\x83\x8B\x96\xBC";  // ファイル名 (file name)
inline constexpr const char kJpTitleProjectName[] = "\x95\x5C\x91\xE8_\x8E\x96\x8B\xC6\x96\xBC";  // 表題_事業名 (title item: project name)
inline constexpr const char kJpTitleConstructionName[] = "\x95\x5C\x91\xE8_\x8DH\x8E\x96\x96\xBC";  // 表題_工事名 (title item: construction name)
inline constexpr const char kJpTitleContractClass[] = "\x95\x5C\x91\xE8_\x8C_\x96\xF1\x8B\xE6\x95\xAA";  // 表題_契約区分 (title item: contract class)
inline constexpr const char kJpTitleDrawingName[] = "\x95\x5C\x91\xE8_\x90}\x96\xCA\x96\xBC";  // 表題_図面名 (title item: drawing name)
inline constexpr const char kJpTitleDrawingNumber[] = "\x95\x5C\x91\xE8_\x90}\x96\xCA\x94\xD4\x8D\x86";  // 表題_図面番号 (title item: drawing number)
inline constexpr const char kJpTitleDrawingType[] = "\x95\x5C\x91\xE8_\x90}\x96\xCA\x8E\xED\x95\xCA";  // 表題_図面種別 (title item: drawing type)
inline constexpr const char kJpTitleScale[] = "\x95\x5C\x91\xE8_\x8E\xDA\x93x";  // 表題_尺度 (title item: scale)
inline constexpr const char kJpTitleDate[] = "\x95\x5C\x91\xE8_\x94N\x8C\x8E\x93\xFA";  // 表題_年月日 (title item: date)
inline constexpr const char kJpTitleCompanyName[] = "\x95\x5C\x91\xE8_\x89\xEF\x8E\xD0\x96\xBC";  // 表題_会社名 (title item: company name)
inline constexpr const char kJpTitleOfficeName[] = "\x95\x5C\x91\xE8_\x8E\x96\x96\xB1\x8F\x8A\x96\xBC";  // 表題_事務所名 (title item: office name)
inline constexpr const char kJpTitleDrawingTotal[] = "\x95\x5C\x91\xE8_\x90}\x96\xCA\x91\x8D\x90\x94";  // 表題_図面総数 (title item: total number of drawings)
inline constexpr const char kJpEraHeisei[] = "\x95\xBD\x90\xAC";  // 平成 (era 1)
inline constexpr const char kJpEraShowa[] = "\x8F\xBA\x98" "a";  // 昭和 (era 2)
inline constexpr const char kJpYear[] = "\x94N";  // 年 (year mark)
inline constexpr const char kJpMonth[] = "\x8C\x8E";  // 月 (month mark)
inline constexpr const char kJpDay[] = "\x93\xFA";  // 日 (day mark)
inline constexpr const char kJpWideZero[] = "\x82O";  // ０ (full-width digit zero)
inline constexpr const char kJpWideNine[] = "\x82X";  // ９ (full-width digit nine)
inline constexpr const char kJpWideSolidus[] = "\x81^";  // ／ (full-width solidus)
inline constexpr const char kJpWideFullStop[] = "\x81" "D";  // ． (full-width full stop)
inline constexpr const char kJpWideHyphenMinus[] = "\x81|";  // － (full-width hyphen-minus)
inline constexpr const char kJpHyphen[] = "\x81]";  // ‐ (hyphen)
inline constexpr const char kJpWideSpace[] = "\x81@";  // 　 (full-width space)
inline constexpr const char kJpWarningLine1[] = "SXF\x91\xAE\x90\xAB\x82\xAA\x90\xB3\x82\xB5\x82\xA2\x90}\x8C`\x82\xC9\x90\xDD\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x89\xC2\x94\x5C\x90\xAB\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81" "B";  // SXF属性が正しい図形に設定されていない可能性があります。 (old-layout reader warning, first line)
inline constexpr const char kJpWarningLine2[] = "[ SXF-\x91\xAE\x90\xAB\x8Am\x94" "F ] \xBA\xCF\xDD\xC4\xDE\x82\xC5\x8Am\x94" "F\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B";  // [ SXF-属性確認 ] ｺﾏﾝﾄﾞで確認してください。 (old-layout reader warning, second line)
// clang-format on

// The UTF-8 spelling of every constant above, for the test that checks the bytes.
struct JapaneseTextSpelling {
  const char* bytes;
  const char* utf8;
};
inline constexpr JapaneseTextSpelling kJapaneseTextSpellings[] = {
    {kJpTarget, "ターゲット"},
    {kJpImage, "画像"},
    {kJpContour, "等高線"},
    {kJpColor, "色"},
    {kJpFileName, "ファイル名"},
    {kJpTitleProjectName, "表題_事業名"},
    {kJpTitleConstructionName, "表題_工事名"},
    {kJpTitleContractClass, "表題_契約区分"},
    {kJpTitleDrawingName, "表題_図面名"},
    {kJpTitleDrawingNumber, "表題_図面番号"},
    {kJpTitleDrawingType, "表題_図面種別"},
    {kJpTitleScale, "表題_尺度"},
    {kJpTitleDate, "表題_年月日"},
    {kJpTitleCompanyName, "表題_会社名"},
    {kJpTitleOfficeName, "表題_事務所名"},
    {kJpTitleDrawingTotal, "表題_図面総数"},
    {kJpEraHeisei, "平成"},
    {kJpEraShowa, "昭和"},
    {kJpYear, "年"},
    {kJpMonth, "月"},
    {kJpDay, "日"},
    {kJpWideZero, "０"},
    {kJpWideNine, "９"},
    {kJpWideSolidus, "／"},
    {kJpWideFullStop, "．"},
    {kJpWideHyphenMinus, "－"},
    {kJpHyphen, "‐"},
    {kJpWideSpace, "　"},
    {kJpWarningLine1, "SXF属性が正しい図形に設定されていない可能性があります。"},
    {kJpWarningLine2, "[ SXF-属性確認 ] ｺﾏﾝﾄﾞで確認してください。"},
};
