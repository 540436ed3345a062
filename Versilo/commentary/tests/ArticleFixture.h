// The language statistics of the KJV sample bible (Norwegian book names), opened once per
// test program through VoUtil.dll.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "ComPtr.h"
#include "TestFiles.h"
#include "VoUtil.h"

inline IBibleLangStat* KjvLangStat() {
    static ComPtr<IBible> bible;
    static ComPtr<IBibleLangStat> langStat;
    if (!langStat) {
        ComPtr<INewBible> opened;
        if (SUCCEEDED(OpenNewBibleFile(WinePath(VERSILO_KJV_BIBLE).c_str(), opened.Put())) && opened) {
            opened.As(IID_IBible, &bible);
            if (bible) bible->GetLangStat(langStat.Put());
        }
    }
    return langStat.Get();
}
