// The KJV sample bible and its language statistics (Norwegian book names), opened once per
// test program through VoUtil.dll.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "ComPtr.h"
#include "TestFiles.h"
#include "VoUtil.h"

struct KjvSample {
    ComPtr<IBible> bible;
    ComPtr<IBibleLangStat> langStat;

    static KjvSample& Get() {
        static KjvSample sample;
        if (!sample.bible) {
            ComPtr<INewBible> opened;
            if (SUCCEEDED(OpenNewBibleFile(WinePath(VERSILO_KJV_BIBLE).c_str(), opened.Put())) && opened &&
                SUCCEEDED(opened.As(IID_IBible, &sample.bible)))
                sample.bible->GetLangStat(sample.langStat.Put());
        }
        return sample;
    }
};

inline IBible* KjvBible() { return KjvSample::Get().bible.Get(); }
inline IBibleLangStat* KjvLangStat() { return KjvSample::Get().langStat.Get(); }
