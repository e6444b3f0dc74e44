// A desktop in constant change that a download scan must count as nothing:
// hidden top-level windows and their labels are created, retitled and
// destroyed at random, up to a bound of windows alive at once, and every
// text is a decoy. Captions hold the caption markers of the download dialog
// and the error box (so a scan does read their children, while they change)
// or markers in the wrong place, letter case or width, or past the 255-byte
// cut; labels hold caption markers and near misses of the label markers,
// never a label marker within reach. No retitle can therefore make a window
// count, whatever caption it gets next. The same seed gives the same steps.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

class DecoyChurn {
public:
    DecoyChurn(std::uint32_t seed, int steps, DWORD periodMs, int maxAlive, const wchar_t* topClass)
        : state_(seed | 1u),
          stepsLeft_(steps),
          periodMs_(std::max<DWORD>(periodMs, 1)),
          maxAlive_(maxAlive),
          topClass_(topClass),
          next_(GetTickCount64()) {}

    // Runs the steps that are due; true once the last step has run.
    bool RunDue(ULONGLONG now) {
        while (stepsLeft_ > 0 && now >= next_) {
            Step();
            next_ += periodMs_;
            --stepsLeft_;
        }
        return stepsLeft_ == 0;
    }
    int Alive() const { return int(tops_.size() + labels_.size()); }
    bool Full() const { return Alive() >= maxAlive_; }
    int Peak() const { return peak_; }
    int Made() const { return made_; }

private:
    struct Label {
        HWND parent;
        HWND window;
    };

    template <std::size_t N>
    const std::wstring& Pick(const std::wstring (&texts)[N]) {
        return texts[Random() % N];
    }
    const std::wstring& Caption() {
        static const std::wstring kCaptions[] = {
            L"ファイルのダウンロード",
            L"Microsoft Internet Explorer",
            L"ファイルのダウンロード - Microsoft Internet Explorer",
            L"保存しています",
            L"処理がタイムアウトになりました",
            L"microsoft internet explorer",
            L"MICROSOFT INTERNET EXPLORER",
            L"Ｍｉｃｒｏｓｏｆｔ Ｉｎｔｅｒｎｅｔ Ｅｘｐｌｏｒｅｒ",
            L"ﾌｧｲﾙのﾀﾞｳﾝﾛｰﾄﾞ",
            L"35% 完了 しました",
            L"ｺﾋﾟｰしています",
            std::wstring(250, L'x') + L"完了しました",
            std::wstring(248, L' ') + L"コピーしています",
            L"",
        };
        return Pick(kCaptions);
    }
    const std::wstring& LabelText() {
        static const std::wstring kLabels[] = {
            L"Microsoft Internet Explorer",
            L"ファイルのダウンロード",
            L"45% 完了しました",
            L"コピーしています...",
            L"保存していま す",
            L"ﾎｿﾞﾝしています",
            L"処理がﾀｲﾑｱｳﾄになりました",
            L"サーバーとの接続がﾘｾｯﾄされました",
            std::wstring(250, L'y') + L"保存しています",
            std::wstring(240, L'z') + L"処理がタイムアウトになりました",
            L"OK",
            L"",
        };
        return Pick(kLabels);
    }

    std::uint32_t Random() {  // xorshift32: small, and the same on every run
        std::uint32_t x = state_;
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return state_ = x;
    }

    void Counted() {
        ++made_;
        peak_ = std::max(peak_, Alive());
    }

    // Hidden: Wine's X11 driver takes long to map and unmap shown windows.
    void AddTop() {
        HWND w = CreateWindowExW(0, topClass_, Caption().c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        if (!w) return;
        tops_.push_back(w);
        Counted();
    }
    void AddLabel() {
        HWND parent = tops_[Random() % tops_.size()];
        HWND w = CreateWindowExW(0, L"STATIC", LabelText().c_str(), WS_CHILD | WS_VISIBLE, 4, 4, 280, 20, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!w) return;
        labels_.push_back(Label{parent, w});
        Counted();
    }
    void CloseTop() {
        const std::size_t pick = Random() % tops_.size();
        HWND top = tops_[pick];
        DestroyWindow(top);  // its labels with it
        tops_.erase(tops_.begin() + std::ptrdiff_t(pick));
        labels_.erase(std::remove_if(labels_.begin(), labels_.end(), [&](const Label& l) { return l.parent == top; }),
                      labels_.end());
    }
    void CloseLabel() {
        const std::size_t pick = Random() % labels_.size();
        DestroyWindow(labels_[pick].window);
        labels_.erase(labels_.begin() + std::ptrdiff_t(pick));
    }

    // The window is drawn before its text, on every compiler alike.
    void RetitleTop() {
        HWND w = tops_[Random() % tops_.size()];
        SetWindowTextW(w, Caption().c_str());
    }
    void RetitleLabel() {
        HWND w = labels_[Random() % labels_.size()].window;
        SetWindowTextW(w, LabelText().c_str());
    }

    // Creations outweigh closes, so the desktop fills up to its bound and
    // then keeps changing there.
    void Step() {
        const std::uint32_t op = Random() % 8;
        const bool full = Full();
        if (tops_.empty() || (op <= 1 && !full))
            AddTop();
        else if (op <= 3 && !full)
            AddLabel();
        else if (op == 4 || (op <= 1 && full))
            RetitleTop();
        else if (op == 5 && !labels_.empty())
            RetitleLabel();
        else if (op == 6 && !labels_.empty())
            CloseLabel();
        else if (op == 7 || full)
            CloseTop();
    }

    std::uint32_t state_;
    int stepsLeft_;
    DWORD periodMs_;
    int maxAlive_;
    const wchar_t* topClass_;
    ULONGLONG next_;
    int made_ = 0;
    int peak_ = 0;
    std::vector<HWND> tops_;
    std::vector<Label> labels_;
};
