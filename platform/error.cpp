#include "platform/error.h"

#include <new>

RuntimeError::RuntimeError(std::int32_t number) : number_(number), description_(ErrorDescription(number)) {}

Text ErrorDescription(std::int32_t number) {
    switch (number) {
    case err::Overflow: return u"オーバーフローしました。";
    case err::OutOfMemory: return u"メモリが不足しています。";
    case err::DllLoad: return u"DLL 読み込み時のエラーです。";
    case err::BadFileName: return u"ファイル名または番号が不正です。";
    case err::FileNotFound: return u"ファイルが見つかりません。";
    case err::DeviceIO: return u"デバイス I/O エラーです。";
    case err::DiskFull: return u"ディスクの空き容量が不足しています。";
    case err::PermissionDenied: return u"書き込みできません。";
    case err::PathFileAccess: return u"パス名が無効です。";
    case err::PathNotFound: return u"パスが見つかりません。";
    case err::Internal: return u"内部エラーです。";
    case err::CantCreateObject: return u"ActiveX コンポーネントはオブジェクトを作成できません。";
    case err::NoSuchMember: return u"オブジェクトは、このプロパティまたはメソッドをサポートしていません。";
    case err::Automation: return u"オートメーション エラーです。";
    case err::DllEntryNotFound: return u"指定された DLL 関数が見つかりません。";
    default: return u"アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

Text ErrorBoxText(std::int32_t number, const Text& description) {
    std::string digits = std::to_string(number);
    Text text(digits.begin(), digits.end());
    text += u':';
    text += description;
    return text;
}

RuntimeError CurrentError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(err::OutOfMemory);
    } catch (const std::exception&) {
        return RuntimeError(err::Internal);
    }
}
