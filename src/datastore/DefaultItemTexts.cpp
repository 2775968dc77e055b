#include "DefaultItemTexts.h"

QStringList defaultItemTexts()
{
    return {
        // Survival: caution, safety, security, money matters.
        QStringLiteral("در کارهايم محتاط هستم و بي گدار به آب نمي زنم."),
        QStringLiteral("از موقعيت هاي پرخطر دوري مي کنم."),
        QStringLiteral("نسبت به خطرهاي اطرافم هوشيار هستم."),
        QStringLiteral("پس انداز کردن و مسائل مالي برايم اهميت زيادي دارد."),
        QStringLiteral("احساس امنيت و آرامش خاطر برايم مهم است."),
        QStringLiteral("براي روزهاي سخت آينده از پيش برنامه ريزي مي کنم."),
        QStringLiteral("به سلامت جسمي و مراقبت از بدنم اهميت مي دهم."),
        // Love and belonging: affection, intimacy, family, friendship, groups.
        QStringLiteral("دوست دارم محبتم را به ديگران نشان دهم."),
        QStringLiteral("احساسات و عواطفم را با نزديکانم در ميان مي گذارم."),
        QStringLiteral("به دنبال رابطه اي صميمي و نزديک با ديگران هستم."),
        QStringLiteral("براي خانواده ام وقت و انرژي مي گذارم."),
        QStringLiteral("دوستي هايم را حفظ مي کنم و براي آنها وقت مي گذارم."),
        QStringLiteral("عضويت در يک گروه يا جمع برايم اهميت دارد."),
        QStringLiteral("وقتي تنها مي مانم دلم براي ديگران تنگ مي شود."),
        // Freedom: choosing for oneself, independence, travel, creativity.
        QStringLiteral("دوست دارم خودم براي زندگي ام تصميم بگيرم."),
        QStringLiteral("از اينکه مجبور به انجام کاري شوم ناراحت مي شوم."),
        QStringLiteral("سفر کردن و ديدن جاهاي تازه را دوست دارم."),
        QStringLiteral("در کارهايم استقلال رأي و عمل دارم."),
        QStringLiteral("دوست دارم براي هر کاري چند راه براي انتخاب داشته باشم."),
        QStringLiteral("نظرم را بدون ترس و واهمه بيان مي کنم."),
        QStringLiteral("کارها را به شيوه خلاقانه خودم انجام مي دهم."),
        // Power and self-worth: goals, progress, control, pride, influence.
        QStringLiteral("براي رسيدن به هدف هايم سخت تلاش مي کنم."),
        QStringLiteral("دوست دارم در کارم پيشرفت کنم و بهترين باشم."),
        QStringLiteral("دوست دارم اوضاع و شرايط را در کنترل خودم داشته باشم."),
        QStringLiteral("به توانايي ها و مهارت هاي خودم اعتماد دارم."),
        QStringLiteral("از موفقيت هايم احساس افتخار مي کنم."),
        QStringLiteral("دوست دارم بر ديگران تأثير بگذارم و نظرم پذيرفته شود."),
        QStringLiteral("رقابت کردن با ديگران به من انگيزه مي دهد."),
        // Fun and enjoyment: laughter, learning, variety, play, joy.
        QStringLiteral("از خنديدن و شوخي کردن لذت مي برم."),
        QStringLiteral("ياد گرفتن چيزهاي تازه برايم لذت بخش است."),
        QStringLiteral("از کارهاي تکراري خسته مي شوم و تنوع را دوست دارم."),
        QStringLiteral("براي سرگرمي هاي مورد علاقه ام وقت مي گذارم."),
        QStringLiteral("بازي کردن را در هر سني دوست دارم."),
        QStringLiteral("ديگران مرا فردي شوخ طبع مي دانند."),
        QStringLiteral("به دنبال شادي و خوش گذراندن هستم."),
    };
}
