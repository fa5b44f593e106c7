<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Tavrel</source>
        <translation>Tavrel 大屏控制</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
</context>
<context>
    <name>ChangeNameWindows</name>
    <message>
        <source>Rename</source>
        <translation>更改名称</translation>
    </message>
    <message>
        <source>Enter a modified name</source>
        <translation>输入更改名称</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DebugWindows</name>
    <message>
        <source>Debug</source>
        <translation>调试</translation>
    </message>
    <message>
        <source>Send communication instructions (hex)</source>
        <translation>发送通讯指令（十六进制）</translation>
    </message>
    <message>
        <source>for example：C6 11 22 20 02 BB</source>
        <translation>例如：C6 11 22 20 02 BB</translation>
    </message>
    <message>
        <source>Please enter instructions here</source>
        <translation>请在此输入指令</translation>
    </message>
    <message>
        <source>Feedback message：</source>
        <translation>反馈信息：</translation>
    </message>
    <message>
        <source>Note: The instruction sent successfully returns success, failure returns failed.</source>
        <translation>注：指令发送成功返回 success，失败返回 failed。</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>LoginWindows</name>
    <message>
        <source>Administrator</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Please enter password</source>
        <translation>请输入管理密码</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登陆</translation>
    </message>
    <message>
        <source>logout</source>
        <translation>注销</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The password is wrong, please confirm and re-enter!</source>
        <translation>密码错误，请确认并重新输入！</translation>
    </message>
    <message>
        <source>The user database cannot be read, please check the file database.db!</source>
        <translation>无法读取用户数据库，请检查文件 database.db！</translation>
    </message>
</context>
<context>
    <name>ModifyPwdWindows</name>
    <message>
        <source>Modify password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Original password</source>
        <translation>原密码</translation>
    </message>
    <message>
        <source>Enter the original password</source>
        <translation>请输入原密码</translation>
    </message>
    <message>
        <source>New password</source>
        <translation>新密码</translation>
    </message>
    <message>
        <source>Enter a new password</source>
        <translation>请输入新密码</translation>
    </message>
    <message>
        <source>Confirm the new password</source>
        <translation>确认新密码</translation>
    </message>
    <message>
        <source>Enter the new password again</source>
        <translation>请再次输入新密码</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>The user database cannot be read, please check the file database.db!</source>
        <translation>无法读取用户数据库，请检查文件 database.db！</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please confirm that the original password is entered correctly!</source>
        <translation>请确认原密码输入正确！</translation>
    </message>
    <message>
        <source>Please confirm that the new password is not empty!</source>
        <translation>请确认新密码不为空！</translation>
    </message>
    <message>
        <source>The new password is incomplete!</source>
        <translation>新密码不完整！</translation>
    </message>
    <message>
        <source>The new passwords do not match!</source>
        <translation>新密码不一致！</translation>
    </message>
    <message>
        <source>The new password is already used by another account, please choose another one!</source>
        <translation>新密码已被其他账户使用，请另选一个！</translation>
    </message>
    <message>
        <source>The password could not be saved in the user database!</source>
        <translation>密码未能保存到用户数据库！</translation>
    </message>
    <message>
        <source>Successfully modified!</source>
        <translation>修改成功！</translation>
    </message>
</context>
</TS>
