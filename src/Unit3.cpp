#include "Unit3.h"

#include "Unit1.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    FormCreate(this);
}

void TForm3::FormCreate(QObject *)
{
    memo3->assignLines(*Form1->memo3);
    memo3->setFontName(Form1->memo3->fontName());
    memo3->setFontSize(Form1->memo3->fontSize());
    memo3->setColor(Form1->memo3->color());
}
