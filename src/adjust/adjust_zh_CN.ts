<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AlienAdjustWindows</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special regulation</source>
        <translation>异形调节</translation>
    </message>
    <message>
        <source>Note:The horizontal direction is regarded as long and the vertical direction as wide ( format: long * wide )</source>
        <translation>注：水平方向视为长，垂直方向视为宽（格式：长 * 宽）</translation>
    </message>
    <message>
        <source>Screen resolution</source>
        <translation>屏幕分辨率</translation>
    </message>
    <message>
        <source>Total Length</source>
        <translation>总长度</translation>
    </message>
    <message>
        <source>Single Length</source>
        <translation>单屏长度</translation>
    </message>
    <message>
        <source>Span Length</source>
        <translation>间距长度</translation>
    </message>
    <message>
        <source>Horizontal start</source>
        <translation>水平起始调节</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Horizontal size</source>
        <translation>水平SIZE调节</translation>
    </message>
    <message>
        <source>Vertical start</source>
        <translation>垂直起始调节</translation>
    </message>
    <message>
        <source>Vertical size</source>
        <translation>垂直SIZE调节</translation>
    </message>
    <message>
        <source>Starting adjustment</source>
        <translation>启动调节</translation>
    </message>
</context>
<context>
    <name>EdgeMeltingWindows</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Border effect</source>
        <translation>边缘融合</translation>
    </message>
    <message>
        <source>Use fusion effect</source>
        <translation>使用融合效果</translation>
    </message>
    <message>
        <source>Fusion regulation</source>
        <translation>融合调节</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>水平调节</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>垂直调节</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
</context>
<context>
    <name>PictureControlWindows</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture control</source>
        <translation>图像调整</translation>
    </message>
    <message>
        <source>Adjustment range</source>
        <translation>调整范围</translation>
    </message>
    <message>
        <source>VIDEO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>图像</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>饱和度</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>清晰度</translation>
    </message>
    <message>
        <source>Tone</source>
        <translation>色调</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>H Position</source>
        <translation>水平位置</translation>
    </message>
    <message>
        <source>V Position</source>
        <translation>垂直位置</translation>
    </message>
    <message>
        <source>Reproduction rate adjustment</source>
        <translation>重显率调节</translation>
    </message>
    <message>
        <source>H Start</source>
        <translation>水平起始位置</translation>
    </message>
    <message>
        <source>H Size</source>
        <translation>水平大小</translation>
    </message>
    <message>
        <source>V Start</source>
        <translation>垂直起始位置</translation>
    </message>
    <message>
        <source>V Size</source>
        <translation>垂直大小</translation>
    </message>
    <message>
        <source>VGA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>时钟</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>相位</translation>
    </message>
    <message>
        <source>Bright color balance</source>
        <translation>色彩亮平衡</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>Dark color balance</source>
        <translation>色彩暗平衡</translation>
    </message>
    <message>
        <source>Auto Color</source>
        <translation>色彩自动调整</translation>
    </message>
    <message>
        <source>Auto Pos</source>
        <translation>位置自动调整</translation>
    </message>
    <message>
        <source>DVI/HDMI/YUV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color temperature adjustment</source>
        <translation>色温调整</translation>
    </message>
    <message>
        <source>Color brightness adjustment</source>
        <translation>色温亮阶调整</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>紫色</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>青色</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>灰色</translation>
    </message>
    <message>
        <source>Color darkness adjustment</source>
        <translation>色温暗阶调整</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;SimSun&apos;; font-size:9pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;In computers and displays, red, green, and blue are all used as the three primary colors, because the three colors can be combined appropriately to produce any other color, as shown in the upper right figure:&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Example: when red and green are added at the same time, the corresponding image will turn yellow, on the contrary, yellow will decrease.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Example: when red and blue are added at the same time, the corresponding image will turn purple, on the contrary, purple will decrease.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Example: when green and blue are added at the same time, the corresponding image will turn green, on the contrary, the cyan color will decrease.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Example: when three primary colors are added at the same time, the corresponding image will become bright, on the contrary, dark.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Note: if you want to adjust the consistency under white, please select the relevant button under color temperature brightness adjustment to adjust.If you want to adjust the consistency under black, please select the relevant button adjustment under color temperature dark step adjustment.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>在计算机和显示器中，红、绿、蓝都被用作三原色，因为这三种颜色经过适当组合可以产生任何其他颜色，如右上图所示：&lt;br/&gt;例：红色和绿色同时增加时，相应的图像会变黄，反之黄色减弱。&lt;br/&gt;例：红色和蓝色同时增加时，相应的图像会变紫，反之紫色减弱。&lt;br/&gt;例：绿色和蓝色同时增加时，相应的图像会变青，反之青色减弱。&lt;br/&gt;例：三原色同时增加时，相应的图像会变亮，反之变暗。&lt;br/&gt;注：如需调整白色下的一致性，请在色温亮阶调整下选择相关按钮进行调整；如需调整黑色下的一致性，请在色温暗阶调整下选择相关按钮进行调整。</translation>
    </message>
    <message>
        <source>Color adjustment</source>
        <translation>色彩调整</translation>
    </message>
    <message>
        <source>Note: refer to color temperature adjustment instructions</source>
        <translation>注：参照色温调整下的说明，在色温调整下微调</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>调整</translation>
    </message>
    <message>
        <source>&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back Light</source>
        <translation>背光亮度调整</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>系统复位</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存调整</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
</TS>
